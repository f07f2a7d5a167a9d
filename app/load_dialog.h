#pragma once

// frmLoad: asked before a case is opened, which stream of the saved case becomes the feed.
// It opens with the feed selected; Cancel abandons the open.

#include "data/case_file.h"

#include <QDialog>
#include <functional>
#include <optional>

class QButtonGroup;

namespace quorvane {

class LoadDialog : public QDialog {
    Q_OBJECT
public:
    explicit LoadDialog(QWidget* parent = nullptr);
    LoadOption Option() const;

    // The option chosen, or nullopt when the user cancelled. A test answers instead.
    static std::optional<LoadOption> Ask(QWidget* parent);
    static void SetAnswerer(std::function<std::optional<LoadOption>()> answerer);

private:
    QButtonGroup* m_options = nullptr;
};

} // namespace quorvane
