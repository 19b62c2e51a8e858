#pragma once

// What the program sets up before its window exists: the application title, and stand-ins
// for the window's font faces where the platform lacks them.
void InitialiseApplication();
