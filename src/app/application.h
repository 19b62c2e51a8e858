#pragma once

// What the program sets up before its window exists: the application title, and stand-ins
// for the window's font faces where the platform lacks them.
void InitialiseApplication();

// Keeps freed memory in the process for the next operation instead of giving it back to the
// system at once: a long order's hand-offs and saves each need a few megabytes for a moment,
// and memory fresh from the system costs far more than reused memory on some machines.
void KeepMemoryForReuse();
