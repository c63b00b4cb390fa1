// The program's entry: splash, start-up, then the main loop.
#pragma once

[[noreturn]] void StartUp();
// Load handler of the splash window: sizes it to its picture and centres it.
void Form_Load();
