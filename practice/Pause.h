#pragma once

// Sleeps for the given time while the program keeps answering the window
// system and a screen reader (repaints, the accessibility bridge's queries).
// Input waits: the window system's input stays in its queue, input posted
// meanwhile is posted again at the end, and the timers of widgets (a
// button's delayed click) fire only after. Without an application object,
// or off its thread, it only sleeps.
void SleepAnswering(int ms);
