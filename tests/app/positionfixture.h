#pragma once

// A main window over a registry store of the test's own, with message boxes answered by a double.

#include "app/tform1.h"
#include "app/userregistry.h"
#include "platform/buildvalues.h"
#include "platform/registrystore.h"
#include "tests/support/fakedesktop.h"
#include "tests/support/tempdir.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>
#include <cstdint>
#include <gtest/gtest.h>
#include <memory>
#include <optional>

namespace qm::test {

inline constexpr std::string_view kPositionKey = "Software\\Tamsworth\\Lettrix\\Setup";
// Where the window stands as laid out, before any stored position.
inline const QPoint kLaidOut(193, 80);

class PositionFixture : public ::testing::Test {
protected:
    void SetUp() override { setUserRegistry(m_store.get()); }
    void TearDown() override { setUserRegistry(nullptr); }

    // Replaces the store, e.g. by one that cannot be written.
    void useStore(std::unique_ptr<RegistryStore> store)
    {
        m_store = std::move(store);
        setUserRegistry(m_store.get());
    }
    RegistryStore& store() { return *m_store; }
    std::filesystem::path storePath() const { return m_dir.file("config") / "Quillmark" / "registry.reg"; }

    // A value line appended to the store ("name"=data): the later line of a name holds.
    void storeValue(const char* name, std::string_view data)
    {
        RegistryStore(storePath()).createKey(kPositionKey).close();
        writeFileBytes(storePath(), readFileBytes(storePath()) + "\"" + name + "\"=" + std::string(data) + "\r\n");
    }
    void storeDword(const char* name, int value)
    {
        RegistryKey key = RegistryStore(storePath()).createKey(kPositionKey);
        ASSERT_TRUE(key.setDword(name, static_cast<std::uint32_t>(value)));
        ASSERT_TRUE(key.close());
    }
    // The stored DWORD as a signed number, or nothing.
    std::optional<int> storedDword(const char* name)
    {
        const std::optional<RegValue> value = RegistryStore(storePath()).openKey(kPositionKey).query(name);
        if (!value || value->type != RegType::Dword)
            return std::nullopt;
        return static_cast<std::int32_t>(value->dword);
    }

    // Creates the main window (which places itself) and shows it.
    std::unique_ptr<TForm1> openWindow()
    {
        auto form = std::make_unique<TForm1>(kSourcePageUrl);
        m_boxesBeforeShow = m_desktop.boxes().size();
        form->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(form.get()));
        return form;
    }
    // Top right of the primary screen: where a window without a usable stored position opens.
    static QPoint defaultPosition(const TForm1& form)
    {
        const QRect screen = QGuiApplication::primaryScreen()->geometry();
        return {screen.x() + screen.width() - form.frameGeometry().width(), screen.y()};
    }

    FakeDesktop m_desktop;
    std::size_t m_boxesBeforeShow = 0;

private:
    TempDir m_dir;
    std::unique_ptr<RegistryStore> m_store = std::make_unique<RegistryStore>(storePath());
};

} // namespace qm::test
