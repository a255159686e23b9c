#pragma once

// The one way tests reach a window's control: by the designer name it
// carries as its object name ("Text13", "Combo2", "Label38_3").
#include <QObject>
#include <QString>

#include <memory>

template <class T>
T *named(const QObject &window, const QString &name)
{
    return window.findChild<T *>(name, Qt::FindDirectChildrenOnly);
}

template <class T>
T *named(const QObject *window, const QString &name)
{
    return named<T>(*window, name);
}

template <class T, class Window>
T *named(const std::unique_ptr<Window> &window, const QString &name)
{
    return named<T>(*window, name);
}
