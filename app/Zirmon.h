#pragma once

// Creates the eight windows in their order: Form1, setpoc, AboutBox, hist,
// manual, PasswordDlg, PasswordDlg1, vyslForm. Only Form1 is shown, by the
// caller.
void CreateWindows();

// Destroys them again, in the reverse order (program end, tests).
void DestroyWindows();
