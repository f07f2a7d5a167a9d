#pragma once

#include <QString>

namespace quorvane {

// The folder the running program lies in.
QString ProgramFolder();

// Where the data files are: the program folder in the build tree, <prefix>/share/quorvane
// when installed (data/program_layout.h).
QString DataFolder();

// Where libcalvix.so, libdornel.so and libdadez.so are: the program folder in the build tree,
// <prefix>/lib/quorvane when installed.
QString LibraryFolder();

// Full path of a data file the program reads (database, notes, help, disclaimer).
QString ProgramFile(const QString& fileName);

} // namespace quorvane
