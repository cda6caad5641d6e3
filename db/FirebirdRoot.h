#pragma once
#include <QString>
#include <QStringList>

#include "db/DbError.h"

namespace db {

// A private Firebird root folder: the installed Firebird files linked in,
// our own firebird.conf and a plugins/udr folder holding our UDR modules.
//
// The embedded engine reads its configuration and loads UDR modules from
// the root named by the FIREBIRD environment variable; the installed root
// has no room for our modules (and is not ours to write), so a process that
// wants the engine to run our server-side procedures points FIREBIRD at a
// private root before its first connection (useForThisProcess()). The test
// server helper builds its server's root the same way.
class FirebirdRoot {
 public:
  // The installed Firebird root (…/firebird/3.0).
  static QString installedRoot();

  // Creates or refreshes `folder` as a root: links to the installed files,
  // plugins/ with links to the installed plugins, plugins/udr/ with a copy
  // of each module in udrModules (paths of lib<name>.so files; the engine
  // refuses linked modules), a plugins.conf naming that folder, and a
  // firebird.conf of the installed settings with confLines replacing or
  // adding settings. Safe when several processes prepare the same folder
  // at once. A DbError when the folder cannot be made.
  static void prepare(const QString& folder, const QStringList& udrModules, const QStringList& confLines = {});

  // Points this process's Firebird client and embedded engine at the root
  // (sets FIREBIRD). Call before the first connection of the process; a
  // later call has no effect on an engine already loaded and returns false.
  static bool useForThisProcess(const QString& folder);

  // Prepares the per-user root (in the runtime or temp folder) with the
  // given UDR modules and uses it for this process; returns its path.
  static QString setupEmbedded(const QStringList& udrModules);

  // The root folder this process uses (FIREBIRD, else the installed root).
  static QString currentRoot();

  // True once this layer has started the client library in this process.
  static bool clientStarted();
};

}  // namespace db
