// The answers a test queued for the next dialogs (see win32_testing.h).
// Internal to the layer.
#pragma once

#include <optional>
#include <string>

// A queued file dialog answer: a path, or cancel (nullopt inside).
bool TakeFileDialogAnswer(std::optional<std::string>& answer);
bool TakeMessageBoxAnswer(int& id);
bool Unattended();
void RecordMessageBox(const char* caption, const char* text, unsigned type);
