#pragma once

#include <QApplication>

#include <gtest/gtest.h>

#include <memory>

namespace tavlo::test {

// The one QApplication of a widget test process: made before the first test
// and gone before exit, while Qt's own objects are still there to let go of.
class QtTestApp : public ::testing::Environment {
public:
    void SetUp() override { m_app = std::make_unique<QApplication>(m_argc, m_argv); }
    void TearDown() override { m_app.reset(); }

private:
    int m_argc = 1;
    char m_name[17] = "tavlo_view_tests";
    char* m_argv[2] = {m_name, nullptr};
    std::unique_ptr<QApplication> m_app;
};
inline ::testing::Environment* const kQtTestApp = ::testing::AddGlobalTestEnvironment(new QtTestApp);

}  // namespace tavlo::test
