#pragma once

// Where the start-up meets the window layer: its dialogs and the six maintenance windows.

namespace md::app {

// Puts the window layer's dialogs (blue save question, green exit question, notices) behind
// data::prompts(). Without them questions are answered No and notices go to stderr.
void InstallWindowDialogs();

// Registers the factory of each maintenance window with registerWindow().
void RegisterWindows();

}  // namespace md::app
