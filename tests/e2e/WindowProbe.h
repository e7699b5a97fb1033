#pragma once
// What the end-to-end tests look at in and around the running window: its
// controls by name, the message boxes it raises (recorded) and the files it writes.
#include "tests/support/WindowTestSupport.h"
#include "ui/MainWindow.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QMap>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTimer>

namespace qb::e2e {

using qb::testing::StartedIn;

using qb::testing::control;

} // namespace qb::e2e
