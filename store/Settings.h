#pragma once

class TProfileFile;

// Reads the whole settings file into PracticeState and the count cells of
// the main window, then the counters back from the cells.
void LoadSettings();

// Writes the ten tally keys from the count cells into an open access.
void SaveTallies(TProfileFile& ini);
