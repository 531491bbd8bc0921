// The settings file and the values in it: the file is the user's to edit, so
// whatever it holds the program must start, read what it can and keep its
// defaults for the rest.
#include "ScratchFile.h"

#include "platform/IniSettingsStore.h"
#include "platform/SettingValues.h"

#include <QCoreApplication>

#include <cmath>

using namespace tavlo;

namespace {

// Each value text through every reading the windows use, and each value
// read back through the writing the windows save it with.
void readValue(const QString& text)
{
    if (const auto i = SettingValues::toInt32(text))
        fuzz::check(SettingValues::toInt32(SettingValues::fromInt(*i)) == i, "an integer survives a save");
    if (const auto i = SettingValues::toInt16(text))
        fuzz::check(SettingValues::toInt16(SettingValues::fromInt(*i)) == i, "a short integer survives a save");
    if (const auto f = SettingValues::toSingle(text))
        fuzz::check(std::isfinite(*f) && SettingValues::toSingle(SettingValues::fromSingle(*f)) == f,
                    "a single survives a save");
    if (const auto d = SettingValues::toDouble(text))
        fuzz::check(std::isfinite(*d) && SettingValues::toDouble(SettingValues::fromDouble(*d)) == d,
                    "a double survives a save");
    if (const auto b = SettingValues::toBool(text))
        fuzz::check(SettingValues::toBool(SettingValues::fromBool(*b)) == b, "a flag survives a save");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    // As in the program: the store posts itself its delayed writes.
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // A new name each time: QSettings keeps recently read files cached by
    // name and would not notice a rewrite within the same millisecond.
    static int run = 0;
    fuzz::ScratchFile file(QStringLiteral("-%1.ini").arg(++run).toLatin1().constData());
    file.write(data, size);

    // The keys of "app/section/key" the file names: its groups and the keys below them.
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    QStringList keys = {QStringLiteral("TAVLO BroadcastTAVLO Broadcast Music/Window/Top")};
    QString group;
    for (const QString& line : text.split(QLatin1Char('\n'))) {
        const QString t = line.trimmed();
        if (t.startsWith(QLatin1Char('[')) && t.endsWith(QLatin1Char(']')))
            group = t.mid(1, t.size() - 2);
        else if (const qsizetype eq = t.indexOf(QLatin1Char('=')); eq > 0) {
            keys.append(group + QLatin1Char('/') + t.left(eq).trimmed().replace(QLatin1Char('\\'), QLatin1Char('/')));
            readValue(t.mid(eq + 1));
        }
        if (keys.size() > 64)
            break;
    }

    const QString missing = QStringLiteral("\x01missing");
    QStringList values;
    {
        IniSettingsStore store(file.path());
        for (const QString& key : keys) {
            const QStringList parts = key.split(QLatin1Char('/'));
            const QString app = parts.value(0);
            const QString section = parts.mid(1, parts.size() - 2).join(QLatin1Char('/'));
            const QString name = parts.size() > 1 ? parts.last() : QString();
            values.append(store.get(app, section, name, missing));
            if (values.last() != missing)
                readValue(values.last());
        }
        // Whatever was read is saved as the windows save it.
        for (qsizetype i = 0; i < keys.size(); ++i)
            store.save(QStringLiteral("Saved"), QStringLiteral("Section"), QString::number(i), values.at(i));
    }
    // ...and reads back the same from the file written when the store went.
    IniSettingsStore reopened(file.path());
    for (qsizetype i = 0; i < keys.size(); ++i)
        fuzz::check(reopened.get(QStringLiteral("Saved"), QStringLiteral("Section"), QString::number(i), missing)
                        == values.at(i),
                    "a saved text reads back the same");
    return 0;
}
