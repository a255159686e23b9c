#pragma once

#include <QString>

namespace veltra {

// The link comN in the ports folder that leads the program to the simulated
// device. Removed again when this object goes, unless someone else has
// replaced it meanwhile.
class PortLink
{
public:
    PortLink() = default;
    ~PortLink();
    PortLink(const PortLink &) = delete;
    PortLink &operator=(const PortLink &) = delete;

    // Makes the folder if needed; an existing link of that name is replaced,
    // any other file of that name is left alone and reported.
    bool create(const QString &dir, int port, const QString &target, QString *error);
    // The same for a link of any name (a by-id link).
    bool create(const QString &dir, const QString &name, const QString &target, QString *error);
    void remove();
    QString path() const { return m_path; }

private:
    QString m_path;
    QString m_target;
};

} // namespace veltra
