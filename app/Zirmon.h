#pragma once

// Reads the family file, then creates the nine windows in their order:
// Form1, setpoc, AboutBox, hist, manual, PasswordDlg, PasswordDlg1,
// vyslForm, Vyberdite. Only Form1 is shown, by the caller.
void CreateWindows();

// Destroys them again, in the reverse order (program end, tests), and the
// progress window first when it was ever opened.
void DestroyWindows();
