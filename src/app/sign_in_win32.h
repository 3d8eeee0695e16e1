// The panel's start when the user signs in: a value of the user's start list
// (HKCU\Software\Microsoft\Windows\CurrentVersion\Run) that starts this copy with "/tray". The
// setup program writes the same value; the notification-area menu ticks and toggles it.
#pragma once

namespace quorelle {

// Whether the value is there and starts this copy of the program.
bool StartsAtSignIn();
// Writes the value for this copy (on) or removes it (off); false when the registry refused.
bool SetStartAtSignIn(bool on);

}  // namespace quorelle
