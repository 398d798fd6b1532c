#pragma once

// The warning given when a force-file command finds no force file chosen.
inline constexpr const char* NoForceFileText = "Select a Force file (.RF) from the list.";
