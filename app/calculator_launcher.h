#pragma once

class QWidget;

namespace quorvane {

// Starts the desktop's calculator program, or says that none is installed.
void StartCalculator(QWidget* parent);

} // namespace quorvane
