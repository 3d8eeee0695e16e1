// The entry points of the virtual card, as the DLL exports them (undecorated C names). Host
// tests call them in-process; the program reaches them only through GetProcAddress.
#pragma once

#include <cstdint>
#include <filesystem>

#include "vcard/card.h"

extern "C" {
int32_t ConfLibInit(void);
int32_t CreateDeviceList(void);
int32_t GetDeviceCount(int32_t list, uint32_t* count);
int32_t GetDeviceById(int32_t list, int32_t index, vcard::Device* device);
int32_t PropertyControl(vcard::Device device, const char16_t* name, void** data, void** extra,
                        uint8_t set);
int32_t RegisterCallbackFunction(vcard::Callback callback, void* context);
int32_t ConfLibUnInit(void);
int32_t ShowAsioPanel(void);
int32_t PlayTestSound(void);
int32_t StopTestSound(void);
int32_t CloseTestSound(void);
}

namespace vcard {
// Host builds only: where the card keeps its files. Forgets everything the card held in memory
// (users, callback, loaded configuration and state), as a fresh process would.
void SetHostDirectory(const std::filesystem::path& directory);
}  // namespace vcard
