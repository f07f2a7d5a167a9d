#include "tests/app/gui_test_support.h"

#include "app/composition_tab.h"
#include "app/startup.h"

#include <QApplication>
#include <QLineEdit>
#include <QListWidget>
#include <QSettings>
#include <QTabWidget>
#include <gtest/gtest.h>

namespace quorvane::testing {

void EnsureApplication() {
    if (QApplication::instance() != nullptr) {
        return;
    }
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "app_gui_tests";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
    SetApplicationIdentity();
}

TemporarySettings::TemporarySettings() {
    EnsureApplication();
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, m_dir.path());
}

TemporarySettings::~TemporarySettings() = default;

DialogRecorder::DialogRecorder() {
    DialogSeam::SetMessageAnswerer([this](const MessageRequest& request) {
        messages.push_back(request);
        if (!answers.empty()) {
            const auto answer = answers.front();
            answers.pop_front();
            return answer;
        }
        if (request.buttons & QMessageBox::Ok) {
            return QMessageBox::Ok;
        }
        return QMessageBox::Yes;
    });
    DialogSeam::SetTextAnswerer([this](const QString&, const QString&) -> std::optional<QString> {
        if (texts.empty()) {
            return std::nullopt;
        }
        const QString text = texts.front();
        texts.pop_front();
        if (text.isNull()) {
            return std::nullopt;
        }
        return std::optional<QString>(text);
    });
    DialogSeam::SetFileAnswerer([this](const FileRequest&) {
        if (files.empty()) {
            return QString();
        }
        QString file = files.front();
        files.pop_front();
        return file;
    });
}

DialogRecorder::~DialogRecorder() {
    DialogSeam::SetMessageAnswerer({});
    DialogSeam::SetTextAnswerer({});
    DialogSeam::SetFileAnswerer({});
}

bool DialogRecorder::Asked(const QString& text) const {
    return std::any_of(messages.begin(), messages.end(),
                       [&](const MessageRequest& request) { return request.text == text; });
}

void EnterCase(MainWindow& window, const QStringList& names) {
    window.Tabs()->setCurrentIndex(MainWindow::kCompositionTab);
    for (const QString& name : names) {
        EXPECT_TRUE(window.Composition()->SelectComponent(name)) << name.toStdString();
        window.Composition()->AddSelectedComponent();
    }
    MainState& state = window.State();
    for (float& amount : state.mixture.EnteredComposition()) {
        amount = 1.0F / static_cast<float>(state.mixture.Count());
    }
    window.Composition()->Rebuild();
    Find<QListWidget>(&window, QStringLiteral("lstEOS"))->setCurrentRow(3);
    Find<QLineEdit>(&window, QStringLiteral("txtStreamName"))->setText(QStringLiteral("Test gas"));
    state.flashCase.tempF = 100.0F;
    state.flashCase.pressPsia = 300.0F;
    window.RedisplayAll();
    window.Tabs()->setCurrentIndex(MainWindow::kSettingsTab);
}

std::unique_ptr<MainWindow> MakeMainWindow() {
    EnsureApplication();
    return std::make_unique<MainWindow>();
}

} // namespace quorvane::testing
