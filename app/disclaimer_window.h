#pragma once

// The disclaimer window (shows "disclaimer.txt" from the program folder) and the agreement
// window shown at start-up while "Disclaimer Show" is set.

#include <QDialog>

class QCheckBox;

namespace quorvane {

// Shows the disclaimer text modally; when the file cannot be read, says so and returns.
void ShowDisclaimer(QWidget* parent);

class DisclaimerAgreement : public QDialog {
    Q_OBJECT
public:
    explicit DisclaimerAgreement(QWidget* parent = nullptr);

    // Agree accepts, Disagree (or closing the window) rejects.
    void done(int result) override;

private:
    QCheckBox* m_chkDontShow = nullptr;
};

} // namespace quorvane
