#pragma once

// Finds a window's control or action by its objectName (the design's names), failing the test at once
// when it does not exist.

#include <QAction>
#include <QObject>
#include <QString>
#include <stdexcept>
#include <string>

namespace qm::test {

template <typename T> T* find(QObject* root, const char* name)
{
    T* found = root->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr) // fail here, not with a null pointer somewhere later
        throw std::runtime_error(std::string("no control ") + name + " of the expected kind");
    return found;
}

// Triggers the menu action of that name, as a click on the menu item would.
inline void trigger(QObject* root, const char* actionName)
{
    if (QAction* action = find<QAction>(root, actionName))
        action->trigger();
}

} // namespace qm::test
