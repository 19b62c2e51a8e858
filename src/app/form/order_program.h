#pragma once

#include <functional>

class Desktop;
class TForm_order;

// The program from its window's start to its end, after the application is set up: the folder
// lock, the order window with its recovery copy, and the ends the customer did not choose.
// `started` runs once the window is shown (the tests drive the window from there). Returns
// the exit status; the lock is released by then, so nothing that follows holds the folder.
int RunOrderProgram(Desktop& desktop, const std::function<void(TForm_order&)>& started = {});
