#pragma once

// The program as it starts: the real main window and its dialogs offscreen, over a registry store and
// a lock of the test's own, with message boxes and file dialogs answered by a double.

#include "app/startup.h"
#include "app/tform1.h"
#include "app/userregistry.h"
#include "platform/buildvalues.h"
#include "platform/registrystore.h"
#include "tests/support/fakedesktop.h"
#include "tests/support/tempdir.h"

#include <QTest>
#include <gtest/gtest.h>

#include <memory>
#include <string>

namespace qm::test {

class MainWindowFixture : public testing::Test {
protected:
    void SetUp() override
    {
        setUserRegistry(&m_store);
        m_startup
            = std::make_unique<Startup>(QString::fromStdString(m_dir.file("quillmark.lock").string()), m_sourcePageUrl);
        m_form = m_startup->mainWindow();
        m_form->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(m_form));
    }
    void TearDown() override
    {
        m_startup.reset();
        setUserRegistry(nullptr);
    }

    TempDir m_dir;
    std::string m_sourcePageUrl = kSourcePageUrl; // what the window's research runs download
    RegistryStore m_store{m_dir.file("registry.reg")};
    FakeDesktop m_desktop;
    std::unique_ptr<Startup> m_startup;
    TForm1* m_form = nullptr;
};

} // namespace qm::test
