// What the page model tests share: a fresh directory of the running test's own for the settings
// files, and a fake card with an analog, a second analog and a digital output, an input, and the
// analog output selected.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "device/selection.h"
#include "device_fake_conflib.h"

namespace quorelle::testing {

// An empty directory named after the prefix and the running test.
inline std::filesystem::path FreshTestDirectory(const std::string& prefix) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() /
        (prefix + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    return dir;
}

// The default card's devices, the analog output (id 10) selected, the selection's calls
// forgotten.
inline void SelectAnalogOutput(device::testing::FakeConfLib& fake) {
    fake.outputs = {{10, 1, 0, 1}, {11, 7, 0, 1}, {12, 4, 0, 1}};
    fake.inputs = {{20, 2, 0, 1}};
    fake.Answer16(u"GetSupportFeature", u"7,0,0,0,9,0,12");
    device::theOutputDevice = {};
    device::theInputDevice = {};
    device::SelectOutputDevice(device::OUTPUT_ANALOG);
    fake.properties.clear();
}

}  // namespace quorelle::testing
