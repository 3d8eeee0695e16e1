// One user of the device library: the main window and the HIFI, advance and headphone pages
// each load and initialise the library for themselves, count the output devices, select the
// analog output (the pages) and balance their own initialisation with one ConfLibUnInit when
// they go. The loading itself is the shell's (LoadConfLib); the sequence after it is here.
#pragma once

#include <cstdint>

namespace quorelle::pages {

inline constexpr char kNoDeviceMessage[] = "No device!";
inline constexpr char kInitFailedMessage[] = "ConfLibInit called failed!";

// How far the headphone page's device start got.
enum class HeadphoneStart {
    // No library, or the library reports no output device: the page makes no device calls.
    Stopped,
    // The library is there but was not initialised (its initialisation failed, or it offers
    // none): nothing is selected and the card is not probed.
    Unprobed,
    // The analog output is selected.
    Selected,
};

class DeviceUser {
  public:
    DeviceUser() = default;
    DeviceUser(const DeviceUser&) = delete;
    DeviceUser& operator=(const DeviceUser&) = delete;
    ~DeviceUser() { UnInit(); }

    // The main window: initialise, build the device list, count the output devices; with none,
    // "No device!". True when there is at least one output device.
    bool StartMainWindow(bool loaded);
    // The HIFI and advance pages: as the main window, then the analog output is selected.
    bool StartPage(bool loaded);
    // The headphone page: a failing initialisation says "ConfLibInit called failed!"; no
    // device ends the start quietly.
    HeadphoneStart StartHeadphonePage(bool loaded);

    // Once per user, when the library was loaded; later calls do nothing.
    void UnInit();

    bool Loaded() const { return loaded_; }
    uint32_t OutputCount() const { return outputCount_; }

  private:
    uint32_t InitAndCount();

    bool loaded_ = false;
    bool unInitDone_ = false;
    uint32_t outputCount_ = 0;
};

}  // namespace quorelle::pages
