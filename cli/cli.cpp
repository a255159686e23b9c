// Command dispatch, options and help of veltra-cli.
#include "cli.h"

#include "linesettings.h"
#include "portmap.h"
#include "portselection.h"

#include <QCommandLineParser>
#include <QIODevice>
#include <QTextStream>

#include <algorithm>

namespace veltra {

namespace {

const QString kProgram = QStringLiteral("veltra-cli");

// Options a command takes.
enum Option : unsigned {
    Baud = 1u << 0,
    Json = 1u << 1,
    Set = 1u << 2,
    Counting = 1u << 3, // --count and --interval
    Output = 1u << 4,
    FileArgument = 1u << 5, // one positional FILE
    DryRun = 1u << 6,
    PortCount = 1u << 7,     // --count of port numbers
    NoPort = 1u << 8,        // needs no --port
    PortList = 1u << 9,      // --port may name several ports, served at once
    AllDevices = 1u << 10,   // --all-devices
    ReportFile = 1u << 11,   // -o FILE of a diagnostic report
    ConvertUnits = 1u << 12, // --convert-units
    Record = 1u << 13,       // --record
    Operator = 1u << 14,     // --operator: a write the record keeps
    Certificate = 1u << 15,  // restore --certificate FOLDER/
    HistoryFilters = 1u << 16,
    WordArgument = 1u << 17,    // one positional word (fileHelp names it)
    CertificateFile = 1u << 18, // -o FILE of a certificate
};

const char *const kExitCodes = "Exit codes:\n"
                               "  0  success\n"
                               "  2  usage error\n"
                               "  3  no sensor answered, its reply was damaged, or the device went away\n"
                               "  4  a setting failed its check, or the file's unit is not the sensor's; nothing "
                               "was sent\n"
                               "  5  the port could not be opened, or is not a serial device\n"
                               "  6  the read-back after a write differs or failed\n"
                               "  7  compare, restore: the sensor does not hold the file's settings\n"
                               "  8  a file or standard output could not be written";

// The number of ports `ports` lists unless told otherwise: as many as the
// start window's port box offers.
constexpr int kDefaultPortCount = 15;

// --port, and the options the command takes.
void addCommandOptions(QCommandLineParser &parser, unsigned options, const QString &fileHelp)
{
    if (!(options & NoPort) && !(options & PortList))
        parser.addOption({{QStringLiteral("p"), QStringLiteral("port")},
                          QStringLiteral("The sensor's port: a number, mapped to a device as in the windows, or a "
                                         "device path such as /dev/ttyUSB0."),
                          QStringLiteral("N|PATH")});
    if (options & PortList) {
        parser.addOption({{QStringLiteral("p"), QStringLiteral("port")},
                          QStringLiteral("The sensor's port: a number, mapped to a device as in the windows, or a "
                                         "device path such as /dev/ttyUSB0; or several, served at once: a list "
                                         "such as 1,3,5-8 (paths too), or all (every port where scan finds a "
                                         "sensor)."),
                          QStringLiteral("N|PATH|LIST|all")});
        parser.addOption(
            {QStringLiteral("csv"),
             QStringLiteral("Print CSV: port, device, exit code and result, then the command's own columns, "
                            "one row per setting, change or file written; measure prints one row "
                            "per measurement as it is taken.")});
        if (!(options & Json))
            parser.addOption({QStringLiteral("json"),
                              QStringLiteral("Print JSON: per port its device, exit code, messages and result (the "
                                             "changes and the read-back verdict, the files written).")});
    }
    if (options & AllDevices)
        parser.addOption({QStringLiteral("all-devices"),
                          QStringLiteral("Probe the built-in serial ports (ttyS*) too, where other equipment may "
                                         "listen.")});
    if (options & Baud)
        parser.addOption({{QStringLiteral("b"), QStringLiteral("baud")},
                          QStringLiteral("Talk at this rate instead of searching: 9600, 19200, 38400, 57600 or "
                                         "115200."),
                          QStringLiteral("RATE")});
    if (options & Json)
        parser.addOption({QStringLiteral("json"), QStringLiteral("Print JSON instead of text.")});
    parser.addOption({QStringLiteral("trace"),
                      QStringLiteral("Print every exchange with the sensor on standard error: time, port, rate, "
                                     "command, request and reply bytes, wait and outcome.")});
    if (options & ReportFile)
        parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                          QStringLiteral("Write the report to FILE (whole or not at all) instead of standard output."),
                          QStringLiteral("FILE")});
    if (options & Set)
        parser.addOption({{QStringLiteral("s"), QStringLiteral("set")},
                          QStringLiteral("Change a setting; repeat for several."),
                          QStringLiteral("NAME=VALUE")});
    if (options & Counting) {
        parser.addOption({{QStringLiteral("n"), QStringLiteral("count")},
                          QStringLiteral("Number of measurements (default 1)."),
                          QStringLiteral("K"),
                          QStringLiteral("1")});
        parser.addOption({{QStringLiteral("i"), QStringLiteral("interval")},
                          QStringLiteral("Seconds from one measurement to the next (default 1)."),
                          QStringLiteral("SECONDS"),
                          QStringLiteral("1")});
        parser.addOption({QStringLiteral("wait-for-adapter"),
                          QStringLiteral("When the adapter goes away, wait up to this many seconds for it to come "
                                         "back (under any device name: the same USB adapter is looked for) and go "
                                         "on; without it, a lost adapter ends the run."),
                          QStringLiteral("SECONDS")});
    }
    if (options & Output)
        parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                          QStringLiteral("Write the backup to FILE instead of standard output; to a folder "
                                         "(FOLDER/, needed with several ports) one file per port, named by port, "
                                         "model and date."),
                          QStringLiteral("FILE|FOLDER/")});
    if (options & DryRun)
        parser.addOption(
            {QStringLiteral("dry-run"), QStringLiteral("Connect, read and print what would change; send nothing.")});
    if (options & ConvertUnits)
        parser.addOption({QStringLiteral("convert-units"),
                          QStringLiteral("Where the file's distances are in another unit than the sensor's "
                                         "(centimetres or millimetres), convert them exactly instead of refusing.")});
    if (options & PortCount)
        parser.addOption({{QStringLiteral("n"), QStringLiteral("count")},
                          QStringLiteral("List port numbers 1 to K (default %1).").arg(kDefaultPortCount),
                          QStringLiteral("K"),
                          QString::number(kDefaultPortCount)});
    if (options & Record)
        parser.addOption({QStringLiteral("record"),
                          QStringLiteral("The commissioning record: a postgresql://USER@HOST/DATABASE address (the "
                                         "password from ~/.pgpass or PGPASSWORD) or an SQLite file. Default: "
                                         "VELTRA_RECORD, else \"record\" in the program's settings, else the local "
                                         "record in the user's data folder."),
                          QStringLiteral("ADDRESS|FILE")});
    if (options & Operator)
        parser.addOption({QStringLiteral("operator"),
                          QStringLiteral("Who the record names as the operator of this write (default: the login "
                                         "name)."),
                          QStringLiteral("NAME")});
    if (options & Certificate)
        parser.addOption({QStringLiteral("certificate"),
                          QStringLiteral("Write a commissioning certificate (PDF) of each port's restore into "
                                         "FOLDER, named by model, time and record entry."),
                          QStringLiteral("FOLDER/")});
    if (options & CertificateFile)
        parser.addOption({{QStringLiteral("o"), QStringLiteral("output")},
                          QStringLiteral("Write the certificate to FILE (default: named by model, time and entry, "
                                         "in the current folder)."),
                          QStringLiteral("FILE")});
    if (options & HistoryFilters) {
        parser.addOption({QStringLiteral("since"),
                          QStringLiteral("Entries from this date (YYYY-MM-DD, UTC) or time on."),
                          QStringLiteral("DATE")});
        parser.addOption({QStringLiteral("until"), QStringLiteral("Entries up to this date (its whole day) or time."),
                          QStringLiteral("DATE")});
        parser.addOption({QStringLiteral("model"), QStringLiteral("Entries of this model: a name or a model code."),
                          QStringLiteral("NAME")});
        parser.addOption({{QStringLiteral("p"), QStringLiteral("port")},
                          QStringLiteral("Entries of this port, as the write named it."),
                          QStringLiteral("N|PATH")});
        parser.addOption({QStringLiteral("station"), QStringLiteral("Entries of this station (host name)."),
                          QStringLiteral("NAME")});
        parser.addOption({QStringLiteral("verdict"),
                          QStringLiteral("Entries with this verdict: verified, differs, \"not verified\", "
                                         "refused or failed."),
                          QStringLiteral("V")});
        parser.addOption({QStringLiteral("csv"), QStringLiteral("Print CSV instead of a table.")});
    }
    if (options & FileArgument)
        parser.addPositionalArgument(QStringLiteral("FILE"), fileHelp);
    if (options & WordArgument)
        parser.addPositionalArgument(fileHelp.section(u':', 0, 0), fileHelp.section(u':', 1).trimmed());
}

} // namespace

struct Cli::Command {
    const char *name;
    const char *summary;     // one line for the general help
    const char *description; // the command's own help
    unsigned options;
    int (Cli::*handler)(const QCommandLineParser &);
    const char *fileHelp = ""; // FileArgument: what FILE is
};

std::span<const Cli::Command> Cli::commands()
{
    static const Command table[] = {
        {"detect", "Find the sensor's baud rate and model",
         "Finds the sensor's baud rate with the connection handshake (9600, 19200, 38400, 57600, 115200) and "
         "prints it with the model.",
         Json, &Cli::detect},
        {"read", "Print the sensor's settings",
         "Reads the settings block and prints it as a table. Without --baud the handshake finds the rate first.",
         Baud | Json | PortList, &Cli::read},
        {"write", "Change settings, then read them back",
         "Reads the settings block, changes the named settings with the checks of the settings window, writes the "
         "block, follows a new baud rate and reads the block back: it succeeds only when the sensor holds what "
         "was sent. The settings a model has, and what each may hold, follow.",
         Baud | Set | PortList | Record | Operator, &Cli::write},
        {"measure", "Take measurements, printed as CSV",
         "Takes measurements and prints them as CSV: time, distance, temperature and, for level sensors, the "
         "tank level and the 4-20 mA current as the level window computes them.",
         Baud | Json | Counting | PortList, &Cli::measure},
        {"backup", "Save every setting as JSON",
         "Reads the settings block and writes every setting, the stored date included, as JSON (format 2): each "
         "setting readable (\"baud\": 19200, \"ogr\": \"High\") under \"settings\" and as the block's code under "
         "\"codes\", with the family, the model, the program's version and the time.",
         Baud | Output | PortList, &Cli::backup},
        {"restore", "Write a backup to a sensor, then read it back",
         "Checks a settings file (valid JSON, every setting present, the family of the connected sensor), writes "
         "it with the checks of the settings window and reads the block back. The sensor keeps its own model "
         "code, and its own value of every setting its model does not have or cannot change (each is listed). A "
         "file whose distances are in another unit than the sensor's is refused unless --convert-units. A value "
         "outside the tables that the sensor already holds passes as unchanged. Exits 0 only when the sensor "
         "then holds the file's value of every setting its model has, 7 when one differs. With --dry-run it "
         "connects, reads and lists each setting that would change, now and after, and sends nothing.\nReads the "
         "files backup writes, those of earlier versions, and values edited by hand in their readable form "
         "(\"ogr\": \"Low\", \"baud\": 9600) or as codes; a readable value and a code that disagree are refused.",
         Baud | FileArgument | DryRun | ConvertUnits | PortList | Record | Operator | Certificate, &Cli::restore,
         "The settings file to restore."},
        {"compare", "Compare a sensor's settings with a backup",
         "Reads the settings block and prints each setting of the sensor next to the file's, marking those that "
         "differ, judged as restore judges them: exits 0 when restoring the file would change nothing, 7 when a "
         "setting differs, 4 when the file's unit is not the sensor's (see --convert-units). The model, and "
         "settings the sensor's model does not have or cannot change, are shown but never count.",
         Baud | Json | FileArgument | ConvertUnits | PortList, &Cli::compare, "The settings file to compare with."},
        {"run", "Put a run-control sensor into its run state",
         "Sends the run request to a run-control model (DVK-14, DVK-16, DVK-18); other models are refused and "
         "nothing is sent.",
         Baud, &Cli::runSensor},
        {"ports", "List the port numbers and their devices",
         "Lists port numbers 1 to K as --port maps them (the comN links of the ports folder first, then the "
         "system's serial devices) with what the system says of each adapter: description, manufacturer, USB "
         "vendor:product and serial number, empty where it does not say. Numbers that map to no device are left "
         "out.",
         Json | PortCount | NoPort, &Cli::ports},
        {"scan", "Find every sensor on the serial adapters at once",
         "Probes every USB and ACM serial adapter and every comN link of the ports folder at once, each with the "
         "connection handshake and a read, and lists port, device, adapter, baud rate and model of each sensor "
         "found; a port with no sensor, or one another program holds, says so. The built-in serial ports (ttyS*) "
         "are probed only with --all-devices. Takes about one handshake however many ports there are. Exits 0 "
         "when a sensor was found, 3 when none.",
         Json | NoPort | AllDevices, &Cli::scan},
        {"report", "Write a diagnostic report for support",
         "Connects (the handshake, or --baud), reads the settings block and writes a diagnostic report as JSON: "
         "the program's version, the operating system and Qt, the serial ports with their adapters, the settings "
         "block read (raw and decoded) and every exchange with its bytes, rate, wait and outcome. The report is "
         "written even when no sensor answers; the exit code then says what failed.",
         Baud | ReportFile, &Cli::report},
        {"history", "List the commissioning record's entries",
         "Lists the entries of the commissioning record, oldest first: every write and restore of settings, from "
         "the windows and this program, with its time (UTC), station, operator, port, model and verdict. The "
         "filters narrow it; --json prints every entry whole (the settings before, sent and read back), --csv one "
         "row per entry.",
         Json | NoPort | Record | HistoryFilters, &Cli::history},
        {"record", "Look after the commissioning record: sync, init",
         "sync sends the entries kept locally while the plant's record could not be reached, each exactly once. "
         "init makes the record's tables (or brings them up to date); for a plant's PostgreSQL record, run it "
         "once as the database's owner.",
         NoPort | Record | WordArgument, &Cli::record, "ACTION: sync or init."},
        {"certificate", "Write a commissioning certificate (PDF) of a record entry",
         "Writes the commissioning certificate of one entry of the record as PDF: the model, its production date, "
         "every setting with its unit, the verdict, time, station, operator, the program's version and a line "
         "for a signature. ENTRY-ID is the id history prints (its first characters are enough).",
         NoPort | Record | WordArgument | CertificateFile, &Cli::certificate,
         "ENTRY-ID: The record entry, as history shows it."},
    };
    return table;
}

const Cli::Command *Cli::findCommand(const QString &name)
{
    for (const Command &command : commands()) {
        if (name == QLatin1String(command.name))
            return &command;
    }
    return nullptr;
}

void Cli::watch(SensorSession &session)
{
    if (!m_trace)
        return;
    QObject::connect(&session.traffic(), &TrafficLog::added, [this](const TrafficEntry &entry) {
        if (m_traceLines)
            m_traceLines->append(entry.line());
        else
            m_err << "trace: " << entry.line() << Qt::endl;
    });
}

Cli::Cli(SerialLink &link, QTextStream &out, QTextStream &err)
    : m_link(link)
    , m_out(out)
    , m_err(err)
    , m_clock([] { return QDateTime::currentDateTimeUtc(); })
{}

int Cli::run(const QStringList &arguments)
{
    const int code = runCommand(arguments);
    // What was printed must have arrived: a full disk or a closed pipe on
    // standard output is an error, never silence.
    m_out.flush();
    if (m_out.status() == QTextStream::Ok)
        return code;
    const QString why = m_out.device() ? m_out.device()->errorString() : QString();
    m_err << kProgram << ": standard output could not be written"
          << (why.isEmpty() ? QString() : QStringLiteral(": ") + why) << '.' << Qt::endl;
    return code == int(ExitCode::ReadBackDiffers) ? code : int(ExitCode::NotWritten);
}

int Cli::runCommand(const QStringList &arguments)
{
    const QString first = arguments.value(1);
    if (first.isEmpty()) {
        printGeneralHelp(m_err);
        return int(ExitCode::Usage);
    }
    if (first == u"-h" || first == u"--help" || first == u"help") {
        printGeneralHelp(m_out);
        return int(ExitCode::Success);
    }
    if (first == u"-v" || first == u"--version") {
        m_out << kProgram << ' ' << QStringLiteral(VELTRA_VERSION) << Qt::endl;
        return int(ExitCode::Success);
    }

    const Command *info = findCommand(first);
    if (!info)
        return usageError(QStringLiteral("unknown command \"%1\".").arg(first));

    QCommandLineParser parser;
    QString description = QString::fromUtf8(info->description);
    if (info->options & Set)
        description += u'\n' + settingsHelp();
    parser.setApplicationDescription(description);
    // Not addHelpOption(): the Qt options of --help-all mean nothing here.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("This help."));
    parser.addOption(help);
    addCommandOptions(parser, info->options, QString::fromUtf8(info->fileHelp));

    QStringList rest = arguments.mid(2);
    rest.prepend(arguments.value(0, kProgram));
    if (!parser.parse(rest))
        return usageError(parser.errorText());

    if (parser.isSet(help)) {
        // Qt's usage line names only the program; the command belongs in it.
        QString text = parser.helpText();
        text.replace(0, text.indexOf(u'\n'),
                     QStringLiteral("Usage: %1 %2%3 [options]%4\n")
                         .arg(kProgram, first, info->options & NoPort ? QString() : QStringLiteral(" --port N|PATH"),
                              info->options & FileArgument ? QStringLiteral(" FILE")
                              : info->options & WordArgument
                                  ? u' ' + QString::fromUtf8(info->fileHelp).section(u':', 0, 0)
                                  : QString()));
        m_out << text << Qt::endl << QLatin1String(kExitCodes) << Qt::endl;
        return int(ExitCode::Success);
    }

    m_trace = parser.isSet(QStringLiteral("trace"));
    m_command = first;
    const QStringList positional = parser.positionalArguments();
    const qsizetype wanted = (info->options & (FileArgument | WordArgument)) ? 1 : 0;
    if (positional.size() != wanted) {
        const QString what = (info->options & WordArgument) ? QString::fromUtf8(info->fileHelp).section(u':', 0, 0)
                                                            : QStringLiteral("the settings file");
        return usageError(wanted && positional.isEmpty()
                              ? QStringLiteral("give %1 to %2.").arg(what, first)
                              : QStringLiteral("unexpected argument \"%1\".").arg(positional.value(wanted)));
    }
    if (info->options & Record)
        m_recordText = parser.value(QStringLiteral("record"));
    if (info->options & Operator)
        m_operator = parser.value(QStringLiteral("operator")).trimmed();
    if (info->options & Certificate)
        m_certificateFolder = parser.value(QStringLiteral("certificate"));
    if (info->options & NoPort)
        return (this->*info->handler)(parser);
    const QStringList ports = parser.values(QStringLiteral("port"));
    if (ports.isEmpty())
        return usageError(QStringLiteral("--port is required."));
    if (ports.size() > 1)
        return usageError(QStringLiteral("--port is given %1 times; give it once.").arg(ports.size()));
    if ((info->options & Baud) && parser.isSet(QStringLiteral("baud"))
        && !baudRowForText(parser.value(QStringLiteral("baud")))) {
        return usageError(QStringLiteral("--baud must be 9600, 19200, 38400, 57600 or 115200, not \"%1\".")
                              .arg(parser.value(QStringLiteral("baud"))));
    }
    if (info->options & PortList) {
        QString error;
        const std::optional<PortSelection> selection = parsePortSelection(ports.constFirst(), &error);
        if (!selection)
            return usageError(error);
        // A list, a CSV summary, or JSON from a command that prints none of
        // its own: one result per port.
        const bool summaryJson = parser.isSet(QStringLiteral("json")) && !(info->options & Json);
        if (!selection->isSingle() || parser.isSet(QStringLiteral("csv")) || summaryJson)
            return runOnPorts(arguments, parser, *selection);
    } else if (!isPortArgument(ports.constFirst())) {
        return usageError(QStringLiteral("--port must be a port number from 1 to 32767 or a device path, not \"%1\".")
                              .arg(ports.constFirst()));
    }
    m_portText = parser.value(QStringLiteral("port"));
    return keepRecordEntry((this->*info->handler)(parser));
}

int Cli::usageError(const QString &message)
{
    m_err << kProgram << ": " << message << Qt::endl
          << "Run \"" << kProgram << " --help\" for the commands, \"" << kProgram
          << " COMMAND --help\" for a command's options." << Qt::endl;
    return int(ExitCode::Usage);
}

int Cli::fail(const Failure &failure)
{
    m_lastFailure = failure.message;
    m_err << failure.message << Qt::endl;
    return int(failure.code);
}

void Cli::printGeneralHelp(QTextStream &s)
{
    s << "Usage: " << kProgram << " COMMAND --port N|PATH [options]" << Qt::endl
      << Qt::endl
      << "Scripted configuration, backup and restore of Veltra ultrasonic level and distance sensors." << Qt::endl
      << Qt::endl
      << "Commands:" << Qt::endl;
    // Names and summaries in two columns, two spaces apart at the longest name.
    qsizetype width = 0;
    for (const auto &row : commands())
        width = std::max(width, qsizetype(qstrlen(row.name)));
    for (const auto &row : commands())
        s << "  " << QString::fromLatin1(row.name).leftJustified(width + 2) << row.summary << Qt::endl;
    s << Qt::endl
      << "Options:" << Qt::endl
      << "  -h, --help     This help; COMMAND --help for a command's options." << Qt::endl
      << "  -v, --version  The program's version." << Qt::endl
      << Qt::endl
      << kExitCodes << Qt::endl;
}

} // namespace veltra
