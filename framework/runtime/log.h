#pragma once
#include <functional>
#include <string_view>

namespace slownik::rt {

//! Writes a line to the process log (stderr unless a sink is set). Thread-safe.
void logMessage(std::string_view text);

//! Sends log lines to `sink` instead of stderr (an empty function restores stderr).
//! For tests and for the host's log window.
void setLogSink(std::function<void(std::string_view)> sink);

}  // namespace slownik::rt
