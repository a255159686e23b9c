// The settings windows' entries in the commissioning record: each Write,
// File > Verify and File > Certificate….
#include "about.h"
#include "historywindow.h"
#include "language.h"
#include "record/commissioningrecord.h"
#include "session/sensorsession.h"
#include "settingsfiles.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QMessageBox>

namespace veltra::ui {

namespace {

// The exit codes veltra-cli gives the same outcomes, so the record reads
// alike whichever program wrote.
constexpr int kExitFailed = 3;
constexpr int kExitRefused = 4;
constexpr int kExitDiffers = 6;

// A plant record out of reach is said once a run: every later entry waits
// in the same place.
bool g_unsentTold = false;

void tell(QWidget *parent, QMessageBox::Icon icon, const QString &objectName, const QString &text,
          const QString &more = {})
{
    QMessageBox box(icon, programTitle(), text, QMessageBox::Ok, parent);
    box.setObjectName(objectName);
    box.setTextFormat(Qt::PlainText);
    box.setInformativeText(more);
    box.exec();
}

// A check's prompt as words: some end in control characters that belong to
// the window's text but would show as boxes in a table or a certificate.
QString readable(const QString &text)
{
    QString words;
    for (const QChar c : text) {
        if (c.category() != QChar::Other_Control)
            words += c;
    }
    return words.simplified();
}

} // namespace

RecordEntry SettingsMenu::newEntry(const std::optional<SensorSettings> &before,
                                   const std::optional<SensorSettings> &sent) const
{
    const QString source
        = m_hooks.family == SensorFamily::Level ? QStringLiteral("level window") : QStringLiteral("distance window");
    // Without a Read the sensor is known only by what was sent to it.
    const std::optional<SensorSettings> &identity = before ? before : sent;
    RecordEntry entry = RecordEntry::forSensor(identity.value_or(SensorSettings(m_hooks.family)), source,
                                               QApplication::applicationVersion());
    if (!identity)
        entry.productionDate.clear();
    entry.before = before;
    entry.sent = sent;
    if (const SensorSession *session = m_hooks.session) {
        const SerialLink &link = session->link();
        entry.port = link.port() ? link.port()->display() : QString();
        entry.device = link.device();
        entry.adapter = link.adapter() ? link.adapter()->display() : QString();
    }
    return entry;
}

void SettingsMenu::keep(const RecordEntry &entry)
{
    QString why;
    const std::optional<RecordTarget> target = RecordTarget::configured(QString(), &why);
    RecordOutcome outcome;
    QString error; // as the operator is shown it
    if (target) {
        outcome = keepEntry(*target, entry);
        error = shown(outcome.error);
    } else {
        error = QCoreApplication::translate("Settings", "The write was not recorded: %1").arg(shown(why));
    }
    if (outcome.kept) {
        m_lastEntry = entry;
        m_certificate->setEnabled(true);
    }
    if (outcome.unsent && !g_unsentTold) {
        g_unsentTold = true;
        tell(m_window, QMessageBox::Information, QStringLiteral("RecordUnsent"), shown(outcome.notice));
    }
    if (!error.isEmpty()) {
        tell(m_window, QMessageBox::Warning, QStringLiteral("RecordFailed"), error);
    }
}

void SettingsMenu::recordWrite(const WritePlan &plan, const SensorSettings &sent,
                               SettingsEditor::WriteResult::Outcome outcome)
{
    using Outcome = SettingsEditor::WriteResult::Outcome;
    const bool wentOut = outcome != Outcome::NotSent;
    RecordEntry entry = newEntry(lastRead(), wentOut ? std::optional(sent) : std::nullopt);
    if (outcome == Outcome::NotSent || outcome == Outcome::Lost) {
        entry.verdict = QStringLiteral("failed");
        entry.exitCode = kExitFailed;
        const SensorSession *session = m_hooks.session;
        if (session && session->linkError().isError())
            entry.message = session->linkError().reason();
        else if (session && !session->failure().message.isEmpty())
            entry.message = session->failure().message;
        else
            entry.message = QStringLiteral("The connection to the sensor failed.");
    } else {
        entry.verdict = QStringLiteral("not verified");
    }
    if (wentOut) {
        m_lastWrite = entry;
        m_sentFields = plan.fieldsCarried();
        m_verify->setEnabled(true);
    }
    keep(entry);
}

void SettingsMenu::recordRefusedWrite(const QString &message)
{
    RecordEntry entry = newEntry(lastRead(), std::nullopt);
    entry.verdict = QStringLiteral("refused");
    entry.message = readable(message);
    entry.exitCode = kExitRefused;
    keep(entry);
}

std::optional<RecordEntry> SettingsMenu::verify()
{
    if (!m_lastWrite || !m_lastWrite->sent)
        return std::nullopt;
    const std::optional<SensorSettings> held
        = readSensor(QCoreApplication::translate("Settings", "Nothing was verified."));
    if (!held)
        return std::nullopt;
    const QStringList differences = heldOtherwise(*m_lastWrite->sent, *held, m_sentFields, valueWithUnit);
    RecordEntry entry = newEntry(m_lastWrite->before, m_lastWrite->sent);
    entry.readBack = held;
    entry.verdict = differences.isEmpty() ? QStringLiteral("verified") : QStringLiteral("differs");
    entry.message = differences.join(QStringLiteral("; "));
    entry.exitCode = differences.isEmpty() ? 0 : kExitDiffers;
    const QString written = m_lastWrite->time.toLocalTime().toString(QStringLiteral("HH:mm:ss"));
    if (differences.isEmpty()) {
        tell(
            m_window, QMessageBox::Information, QStringLiteral("Verified"),
            QCoreApplication::translate("Settings", "Verified: the sensor holds what was written at %1.").arg(written));
    } else {
        // The record keeps the differences in English; the window shows them
        // in the operator's language.
        QStringList shownDifferences;
        for (const QString &difference : differences)
            shownDifferences << shown(difference);
        tell(m_window, QMessageBox::Warning, QStringLiteral("Differs"),
             QCoreApplication::translate("Settings", "The sensor does not hold what was written at %1.").arg(written),
             shownDifferences.join(u'\n'));
    }
    keep(entry);
    return entry;
}

bool SettingsMenu::certificateTo(const QString &path)
{
    return m_lastEntry && saveCertificate(m_window, *m_lastEntry, path);
}

} // namespace veltra::ui
