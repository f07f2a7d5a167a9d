#pragma once

#include <QString>

namespace quorvane {

// Full path of a data file beside the program (the program folder).
QString ProgramFile(const QString& fileName);

} // namespace quorvane
