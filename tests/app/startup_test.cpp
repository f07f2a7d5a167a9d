#include "app/settings_store.h"
#include "app/single_instance.h"
#include "app/startup.h"
#include "tests/app/gui_test_support.h"

#include <QApplication>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTimer>
#include <QUuid>
#include <gtest/gtest.h>

namespace quorvane {
namespace {

QString UniqueKey() {
    return QStringLiteral("quorvane-test-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

// Answers the agreement window once it is up: optionally ticks "Don't display at start-up",
// then presses the named button. Records whether the window appeared.
struct AgreementAnswer {
    explicit AgreementAnswer(QString buttonName, bool tick = false)
        : button(std::move(buttonName)), dontShow(tick) {}
    QString button;
    bool dontShow = false;
    bool seen = false;
    QString text;

    void Arm() {
        QTimer::singleShot(50, [this] { Press(); });
    }
    void Press() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal == nullptr || modal->objectName() != QStringLiteral("frmAgree")) {
            QTimer::singleShot(50, [this] { Press(); });
            return;
        }
        seen = true;
        for (auto* label : modal->findChildren<QLabel*>()) {
            text += label->text();
        }
        modal->findChild<QCheckBox*>(QStringLiteral("chkDontShow"))->setChecked(dontShow);
        modal->findChild<QPushButton*>(button)->click();
    }
};

class StartupTest : public ::testing::Test {
protected:
    testing::TemporarySettings settings;
    testing::DialogRecorder dialogs;
    StartupOptions options{0, UniqueKey()};
};

TEST_F(StartupTest, FirstRunShowsTheAgreementAndAgreeingOpensTheWindow) {
    AgreementAnswer answer(QStringLiteral("cmdAgree"), true);
    answer.Arm();
    StartupResult started = StartUp(options);
    ASSERT_TRUE(answer.seen);
    EXPECT_TRUE(answer.text.contains(QStringLiteral("You must agree in order to use Quorvane")));
    ASSERT_NE(started.window, nullptr);
    EXPECT_TRUE(started.window->isVisible());
    EXPECT_EQ(started.window->windowTitle(), QStringLiteral("Quorvane"));
    // The check box wrote the flag back when the window closed.
    EXPECT_FALSE(SettingsStore::ReadDisclaimerShow());
}

TEST_F(StartupTest, WithTheFlagClearNoAgreementIsShown) {
    SettingsStore::WriteDisclaimerShow(false);
    AgreementAnswer answer(QStringLiteral("cmdAgree"));
    answer.Arm();
    StartupResult started = StartUp(options);
    EXPECT_FALSE(answer.seen);
    ASSERT_NE(started.window, nullptr);
    EXPECT_TRUE(started.window->isVisible());
}

TEST_F(StartupTest, DisagreeingEndsTheProgramAndKeepsTheFlag) {
    AgreementAnswer answer(QStringLiteral("cmdDisagree"));
    answer.Arm();
    StartupResult started = StartUp(options);
    EXPECT_TRUE(answer.seen);
    EXPECT_EQ(started.window, nullptr);
    EXPECT_TRUE(SettingsStore::ReadDisclaimerShow());
}

TEST_F(StartupTest, SplashWindowShowsTheVersion) {
    SettingsStore::WriteDisclaimerShow(false);
    QString version;
    QTimer::singleShot(20, [&] {
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->objectName() == QStringLiteral("frmSplash") && widget->isVisible()) {
                version = widget->findChild<QLabel*>(QStringLiteral("lblVersion"))->text();
            }
        }
    });
    options.splashMs = 200;
    StartupResult started = StartUp(options);
    EXPECT_EQ(version, QStringLiteral("Version ") + QCoreApplication::applicationVersion());
}

TEST_F(StartupTest, SecondInstanceSaysSoBringsTheFirstForwardAndEnds) {
    SettingsStore::WriteDisclaimerShow(false);
    StartupResult first = StartUp(options);
    ASSERT_NE(first.window, nullptr);
    first.window->showMinimized();
    QCoreApplication::processEvents();

    StartupResult second = StartUp(options);
    EXPECT_EQ(second.window, nullptr);
    ASSERT_NE(dialogs.Last(), nullptr);
    EXPECT_EQ(dialogs.Last()->text,
              QStringLiteral("A previous instance of Quorvane is currently running."));
    EXPECT_EQ(dialogs.Last()->title, QStringLiteral("Quorvane"));

    // The first instance hears the request and comes back from the task bar.
    QElapsedTimer timer;
    timer.start();
    while (first.window->isMinimized() && timer.elapsed() < 3000) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    EXPECT_FALSE(first.window->isMinimized());
    EXPECT_TRUE(first.window->isVisible());
}

TEST_F(StartupTest, AnInstanceKeyIsFreeAgainAfterTheFirstEnds) {
    const QString key = UniqueKey();
    {
        SingleInstance first(key);
        ASSERT_TRUE(first.Claim());
        SingleInstance second(key);
        EXPECT_FALSE(second.Claim());
    }
    SingleInstance third(key);
    EXPECT_TRUE(third.Claim());
}

} // namespace
} // namespace quorvane
