// Reading the settings store into the shared records at start-up.
#pragma once

namespace nullora {

// Fills AppSettings and WipeOptions from the store, each key with its default when absent or
// unreadable.
void ReadStartupSettings();

}  // namespace nullora
