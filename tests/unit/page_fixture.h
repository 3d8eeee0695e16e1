// Shared set-up of the page models' tests: real settings files in a temporary directory and the
// recording fake device library with the analog output selected.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include "device/selection.h"
#include "device_fake_conflib.h"
#include "settings/ini_file.h"
#include "settings/settings.h"

namespace quorelle::pages::testing {

class PageFixture : public ::testing::Test {
  protected:
    void SetUp() override {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        dir_ = std::filesystem::temp_directory_path() /
               ("quorelle-" + std::string(info->test_suite_name()) + "-" + info->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
        settings_ = std::make_unique<IniFileSettings>(dir_);
        SetSettingsBackend(settings_.get());
        fake.outputs = {{10, 1, 0, 1}, {11, 7, 0, 1}, {12, 4, 0, 1}};
        fake.inputs = {{20, 2, 0, 1}};
        fake.Answer16(u"GetSupportFeature", u"7,0,0,0,9,0,12");
        device::theOutputDevice = {};
        device::theInputDevice = {};
        device::SelectOutputDevice(device::OUTPUT_ANALOG);
        fake.properties.clear();
    }
    void TearDown() override {
        device::theOutputDevice = {};
        device::theInputDevice = {};
        SetSettingsBackend(nullptr);
        std::filesystem::remove_all(dir_);
    }

    std::filesystem::path dir_;
    std::unique_ptr<IniFileSettings> settings_;
    device::testing::FakeConfLib fake;
    device::testing::RecordingNotices notices;
};

}  // namespace quorelle::pages::testing
