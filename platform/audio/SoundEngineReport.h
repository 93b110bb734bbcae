// The effect engine's error lines on standard output: "<message>: <code>", the code in hex for
// OpenAL / ALC errors and in decimal for the engine's own codes. Used by the engine's classes
// when a step fails; each failure is printed once, where it happens.
#pragma once

namespace SoundEngineReport {

void hex(const char* message, int code);
void decimal(const char* message, int code);

}  // namespace SoundEngineReport
