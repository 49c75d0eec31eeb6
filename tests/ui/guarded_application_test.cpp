// An exception out of an event handler becomes a message, and the editor goes on.
#include <gtest/gtest.h>

#include <QTimer>
#include <new>

#include "errors.hpp"
#include "guarded_application.h"

namespace qm {
namespace {

TEST(GuardedApplication, AnExceptionOutOfAHandlerBecomesAMessage) {
    auto* app = dynamic_cast<GuardedApplication*>(QCoreApplication::instance());
    ASSERT_NE(app, nullptr);
    const auto shows = app->report;
    QStringList shown;
    app->report = [&](const QString& text) { shown << text; };
    QTimer::singleShot(0, [] { throw std::bad_alloc(); });
    QTimer::singleShot(0, [] { throw FileError("Cannot write \"x\"."); });
    QCoreApplication::processEvents();
    app->report = shows;
    ASSERT_EQ(shown.size(), 2);
    EXPECT_TRUE(shown[0].startsWith("There was not enough memory to finish."))
        << shown[0].toStdString();
    EXPECT_EQ(shown[1], "Cannot write \"x\".");
}

}  // namespace
}  // namespace qm
