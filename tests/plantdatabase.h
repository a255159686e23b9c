#pragma once

// A database of its own on the test PostgreSQL server that
// scripts/with-postgres starts (VELTRA_TEST_POSTGRES), dropped at the end.
// Without a server the PostgreSQL tests are skipped, except where
// VELTRA_REQUIRE_POSTGRES is set (CI), where they fail.
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QString>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>
#include <QUuid>

namespace {

class PlantDatabase
{
public:
    PlantDatabase()
    {
        const QString server = qEnvironmentVariable("VELTRA_TEST_POSTGRES");
        if (server.isEmpty())
            return;
        m_name = QStringLiteral("t_") + QUuid::createUuid().toString(QUuid::Id128);
        if (admin([this](QSqlQuery &query) { return query.exec(QStringLiteral("CREATE DATABASE %1").arg(m_name)); })) {
            QUrl url(server);
            url.setPath(u'/' + m_name);
            m_url = url.toString();
        }
    }
    ~PlantDatabase()
    {
        if (!m_url.isEmpty())
            admin([this](QSqlQuery &query) {
                return query.exec(QStringLiteral("DROP DATABASE %1 WITH (FORCE)").arg(m_name));
            });
    }

    // postgresql://… of this test's database; empty without a server.
    QString url() const { return m_url; }

    static bool required() { return qEnvironmentVariableIsSet("VELTRA_REQUIRE_POSTGRES"); }

private:
    template<typename Work>
    static bool admin(Work work)
    {
        const QUrl server(qEnvironmentVariable("VELTRA_TEST_POSTGRES"));
        bool ok = false;
        {
            QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), QStringLiteral("plant-admin"));
            db.setHostName(QUrlQuery(server).queryItemValue(QStringLiteral("host")));
            db.setPort(server.port());
            db.setUserName(server.userName());
            db.setDatabaseName(server.path().mid(1));
            if (db.open()) {
                QSqlQuery query(db);
                ok = work(query);
            }
            db.close();
        }
        QSqlDatabase::removeDatabase(QStringLiteral("plant-admin"));
        return ok;
    }

    QString m_name;
    QString m_url;
};

} // namespace

// Skips (or, in CI, fails) a test that needs the PostgreSQL server.
#define NEED_PLANT(plant)                                                                                              \
    do {                                                                                                               \
        if ((plant).url().isEmpty()) {                                                                                 \
            if (PlantDatabase::required())                                                                             \
                QFAIL("VELTRA_REQUIRE_POSTGRES is set but no PostgreSQL database could be made");                      \
            QSKIP("no PostgreSQL server: run the tests with scripts/with-postgres (make test does)");                  \
        }                                                                                                              \
    } while (false)
