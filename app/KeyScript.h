#pragma once

// Plays keys into the running program as a user would press them, for tests and scripts that
// drive the real executable (env MD_PLAY_KEYS): one key every `intervalMs`, each pressed and
// released in the control that has the focus, in the modal dialog when one is up. The keys are
// names separated by blanks as shortcuts are written ("F5", "Esc", "Return", "Ctrl+X", "A").
// Each key is reported on stdout as "key <name>: <caption of the window it went to>".

#include <QString>
#include <QStringList>

class QWidget;

namespace md::app {

// The keys of a script; an empty list for a script that names a key the toolkit does not know,
// so that nothing half-plays. `bad` receives that name.
QStringList ParseKeyScript(const QString& script, QString* bad = nullptr);

// Starts playing `keys` once the event loop runs; `window` is the main window, the target when
// nothing else has the focus.
void PlayKeys(QWidget* window, const QStringList& keys, int intervalMs = 300);

}  // namespace md::app
