#pragma once

#include <QString>

namespace quorvane {

// Full path of a data file beside the program (the program folder).
QString ProgramFile(const QString& fileName);

// The folder that holds the steam libraries libcalvix.so and libdornel.so: the program folder.
QString LibraryFolder();

} // namespace quorvane
