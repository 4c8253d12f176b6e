#pragma once

// Where the start-up meets the folders that come after it: the window layer's dialogs, the
// product services module and the six maintenance windows. Each does nothing while its folder
// does not provide the piece.

namespace md::app {

// Puts the window layer's dialogs (blue save question, green exit question, notices) behind
// data::prompts(). Without them questions are answered No and notices go to stderr.
void InstallWindowDialogs();

// Creates the product services module DmProduct, the fourth process-wide module, and destroys
// it again at the end of the run.
void CreateProductModule();
void DestroyProductModule();

// Registers the factory of each maintenance window with registerWindow().
void RegisterWindows();

}  // namespace md::app
