#include "cli/Args.h"
#include "cli/Commands.h"
#include "cli/MeterLink.h"
#include "cli/Output.h"
#include "meter/ScanPorts.h"
#include "ui/PortNames.h"
#include "ui/QtSerialPort.h"

#include <QFileInfo>

namespace cli {

namespace {

struct PortRow
{
    QString path;
    QString comName; // "COM  3", or empty
    QString usbIds;  // "0403:6001", or empty
    QString product;
    bool usable = false;
    QString why; // "permission denied", "in use", "not present", or the system's reason
};

// Whether this user may open the device now: opened and closed again at once.
void probe(PortRow &row)
{
    ui::QtSerialPort port;
    port.setPortName(devicePath(row.path));
    using Open = ui::SerialPort::OpenResult;
    switch (port.open()) {
    case Open::Opened:
        row.usable = true;
        port.close();
        return;
    case Open::NoPermission: row.why = QStringLiteral("permission denied"); return;
    case Open::AlreadyInUse: row.why = QStringLiteral("in use"); return;
    case Open::NotFound: row.why = QStringLiteral("not present"); return;
    case Open::Failed: row.why = port.errorString(); return;
    }
}

QString comNameOf(const QString &path)
{
    const QString canonical = QFileInfo(path).canonicalFilePath();
    for (int n = 1; n <= 16; ++n)
        if (ui::systemPathForCom(n) == path || (!canonical.isEmpty() && ui::systemPathForCom(n) == canonical))
            return meter::comEntry(n);
    return {};
}

} // namespace

int runPorts(const QStringList &words)
{
    const QString name = QStringLiteral("ports");
    const Args args = parseArgs(words, {{{QStringLiteral("--format"), QStringLiteral("-f")}}});
    if (args.help) {
        writeOut(usage(name).toLocal8Bit());
        return Success;
    }
    if (!args.error.isEmpty())
        return usageError(name, args.error);
    const auto format = formatOf(
        args.has(QStringLiteral("--format")) ? args.value(QStringLiteral("--format")) : QStringLiteral("text"), false);
    if (!format)
        return usageError(name, QStringLiteral("--format is text or json"));

    QList<PortRow> rows;
    // The ports the system reports, then any device named on the command line.
    for (const ui::SerialPortDescription &port : ui::QtPortEnumerator().ports())
        rows.append({port.path, comNameOf(port.path), port.vendorProduct, port.description, false, {}});
    for (const QString &path : args.positional) {
        const bool listed = std::any_of(rows.cbegin(), rows.cend(), [&](const PortRow &r) { return r.path == path; });
        if (!listed)
            rows.append({path, comNameOf(path), {}, {}, false, {}});
    }
    for (PortRow &row : rows)
        probe(row);

    QString out;
    if (*format == Format::Json) {
        QStringList items;
        for (const PortRow &r : rows)
            items << QStringLiteral("{\"path\":%1,\"name\":%2,\"usb\":%3,\"product\":%4,\"usable\":%5,\"reason\":%6}")
                         .arg(jsonString(r.path), r.comName.isEmpty() ? QStringLiteral("null") : jsonString(r.comName),
                              r.usbIds.isEmpty() ? QStringLiteral("null") : jsonString(r.usbIds),
                              r.product.isEmpty() ? QStringLiteral("null") : jsonString(r.product),
                              r.usable ? QStringLiteral("true") : QStringLiteral("false"),
                              r.usable ? QStringLiteral("null") : jsonString(r.why));
        out = QLatin1Char('[') + items.join(QLatin1String(",\n")) + QStringLiteral("]\n");
    } else {
        // TAB-separated, so `cut -f1` gives the paths; "-" where there is nothing to say.
        const auto cell = [](const QString &text) { return text.isEmpty() ? QStringLiteral("-") : text; };
        for (const PortRow &r : rows)
            out += QStringList{r.path, cell(r.comName), cell(r.usbIds), cell(r.product),
                               r.usable ? QStringLiteral("yes") : QStringLiteral("no: ") + r.why}
                       .join(QLatin1Char('\t'))
                   + QLatin1Char('\n');
    }
    writeOut(out.toUtf8());
    return Success;
}

} // namespace cli
