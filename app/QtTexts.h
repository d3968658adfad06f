#pragma once

// Loads Qt's own Czech texts (the context menu of a text field, the names of
// Qt's inner controls and the like), whatever the system's language, since
// the whole program speaks Czech. Call once the application object exists.
// Returns false when Qt's Czech translation is not installed; the program
// then shows those texts in English.
bool LoadQtTranslations();
