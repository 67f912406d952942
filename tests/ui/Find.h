// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>
#include <QWidget>

#include <stdexcept>
#include <string>

namespace zantrove::test {

// The tests reach every widget by the object name the window gives it. A missing one fails the test
// with its name instead of crashing it.
template <typename T = QWidget> T* Find(const QObject* parent, const char* name)
{
    T* found = parent->findChild<T*>(QString::fromLatin1(name));
    if (found == nullptr)
        throw std::runtime_error(std::string("no ") + T::staticMetaObject.className() + " named " + name);
    return found;
}

} // namespace zantrove::test
