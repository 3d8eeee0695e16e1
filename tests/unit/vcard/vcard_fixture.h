// The virtual card in-process: a fresh card directory per test and the program's entry-point
// table resolved onto the card's exports, as the loader resolves them from the DLL.
#pragma once

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "device/conflib.h"
#include "vcard/exports.h"

namespace vcard::testing {

inline void* CardSymbol(const char* name) {
    const std::string n = name;
    if (n == "ConfLibInit") return reinterpret_cast<void*>(&::ConfLibInit);
    if (n == "CreateDeviceList") return reinterpret_cast<void*>(&::CreateDeviceList);
    if (n == "GetDeviceCount") return reinterpret_cast<void*>(&::GetDeviceCount);
    if (n == "GetDeviceById") return reinterpret_cast<void*>(&::GetDeviceById);
    if (n == "PropertyControl") return reinterpret_cast<void*>(&::PropertyControl);
    if (n == "RegisterCallbackFunction")
        return reinterpret_cast<void*>(&::RegisterCallbackFunction);
    if (n == "ConfLibUnInit") return reinterpret_cast<void*>(&::ConfLibUnInit);
    if (n == "ShowAsioPanel") return reinterpret_cast<void*>(&::ShowAsioPanel);
    if (n == "PlayTestSound") return reinterpret_cast<void*>(&::PlayTestSound);
    if (n == "StopTestSound") return reinterpret_cast<void*>(&::StopTestSound);
    if (n == "CloseTestSound") return reinterpret_cast<void*>(&::CloseTestSound);
    return nullptr;
}

class CardTest : public ::testing::Test {
  protected:
    void SetUp() override {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "vcard-test-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = pattern;
        SetHostDirectory(dir_);
        quorelle::device::ConfLibSlots() = quorelle::device::ResolveEntryPoints(&CardSymbol);
    }
    void TearDown() override {
        quorelle::device::ConfLibSlots() = {};
        SetHostDirectory(std::filesystem::temp_directory_path());
        std::error_code ec;
        std::filesystem::remove_all(dir_, ec);
    }

    void WriteIni(const std::string& text) { std::ofstream(dir_ / "VirtualCard.ini") << text; }

    // A new run of the program: the card forgets what it held in memory.
    void Restart() { SetHostDirectory(dir_); }

    // The text of a file of the card's directory.
    std::string ReadText(const char* name) const {
        std::ifstream in(dir_ / name, std::ios::binary);
        std::stringstream s;
        s << in.rdbuf();
        return s.str();
    }
    std::string ReadLog() const { return ReadText("VirtualCard.log"); }
    std::vector<std::string> LogLines() const {
        std::vector<std::string> lines;
        std::istringstream in(ReadLog());
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    void ClearLog() { std::filesystem::remove(dir_ / "VirtualCard.log"); }

    std::filesystem::path dir_;
};

}  // namespace vcard::testing
