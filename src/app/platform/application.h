#pragma once

#include <chrono>

// What the program sets up before its window exists: the application title, and stand-ins
// for the window's font faces where the platform lacks them.
void InitialiseApplication();

// Keeps freed memory in the process for the next operation instead of giving it back to the
// system at once: a long order's hand-offs and saves each need a few megabytes for a moment,
// and memory fresh from the system costs far more than reused memory on some machines.
void KeepMemoryForReuse();

// How long the program stays without a window to serve the order on the clipboard.
inline constexpr std::chrono::milliseconds kClipboardKeepLimit{10 * 60 * 1000};

// Called once the window has gone with the order left on the clipboard. Where the text would
// leave with the process (an X11 desktop without a clipboard manager), the program keeps
// running without a window until another program takes the clipboard over or the limit has
// passed. Returns at once where the platform or a clipboard manager keeps the text.
void ServeClipboardUntilTakenOver(std::chrono::milliseconds limit = kClipboardKeepLimit);
