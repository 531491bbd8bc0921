// PlayerWindow, settings: what a player window keeps between runs, and the
// options panel whose state is part of it.
#include "playback/PlayerWindow.h"

#include "platform/AppServices.h"
#include "platform/SettingValues.h"
#include "platform/SettingsStore.h"
#include "playback/AutoCue.h"
#include "playback/SongLoudness.h"

#include <cmath>
#include <limits>
#include <optional>

namespace tavlo {

namespace {

constexpr int kPanelFull = 4335;
constexpr int kPanelReduced = 2415;

QString text(const char* latin1) { return QLatin1String(latin1); }

// A window position in twips; a number too large for one is not a position.
std::optional<int> twips(const QString& stored)
{
    const auto v = SettingValues::toSingle(stored);
    if (!v || std::fabs(*v) >= static_cast<float>(std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(std::lround(*v));
}

}  // namespace

void PlayerWindow::loadSettings()
{
    using namespace SettingValues;
    const SettingsStore& store = m_services.settings;
    const QString app = settingsAppName();
    auto read = [&](const char* section, const char* key, const char* byDefault) {
        return store.get(app, text(section), text(key), text(byDefault));
    };

    // Each value goes through its control, so the control's handler updates
    // labels, lead and faders. A text that is not a number, or a value the
    // control refuses, leaves that one thing as it was.
    if (const auto v = toInt32(read("Transitions", "TransitionTime", "1"))) {
        m_transitionTime = *v;
        transitionTimeSpinner->setValue(*v);
    }
    if (const auto v = toInt16(read("Transitions", "TransitionType", "0"))) {
        // A number no button stands for is kept as read: its ramps hold
        // the faders still until the end tick.
        m_transitionType = static_cast<TransitionType>(*v);
        if (transitionTypeFromInt(*v))
            transitionButtons[static_cast<size_t>(*v)]->setValue(1);
    }
    if (const auto v = toInt16(read("Trimming", "CutFirst", "0"))) {
        m_cutFirst = *v;
        cutFirstSpinner->setValue(*v);
    }
    if (const auto v = toInt16(read("Trimming", "CutLast", "0"))) {
        m_cutLast = *v;
        cutLastSpinner->setValue(*v);
    }
    for (Slider* fader : channelFaders)
        fader->setValue(fader->max());
    if (const auto v = toInt16(read("BasicAudio", "Volume", "64")))
        masterVolume->setValue(*v);
    if (const auto v = toInt16(read("RandomPlayback", "rnd", "0")); v && (*v == 0 || *v == 1))
        shuffleCheck->setValue(*v);
    if (const auto v = toSingle(read("Buttons", "cmdShowOptionsTop", "264")))
        m_showOptionsTop = *v;
    showOptionsButton->setCaption(read("Buttons", "cmdShowOptionsCaption", "Hide Options"));
    if (const auto v = twips(read("Window", "Top", "100")))
        setGeometry(left(), *v, width(), height());
    if (const auto v = twips(read("Window", "Left", "100")))
        setGeometry(*v, top(), width(), height());
    if (const auto v = twips(read("Window", "Height", "7000")))
        setGeometry(left(), top(), width(), *v);
    m_logFolder = read("Settings", "LogFolder", "");
    if (const auto v = toBool(read("Settings", "WriteLog", "False")))
        setLogSwitch(*v);
    getOwnSettings(app);
    m_loudness->read(store, app);
    m_autoCue->read(store, app);
    showCueColumns();
    if (const auto v = toInt16(read("ShowOptions", "ShowOptions", "1")))
        m_showOptions = *v;
}

void PlayerWindow::saveSettings()
{
    using namespace SettingValues;
    SettingsStore& store = m_services.settings;
    const QString app = settingsAppName();
    auto save = [&](const char* section, const char* key, const QString& value) {
        store.save(app, text(section), text(key), value);
    };

    save("Transitions", "TransitionTime", fromInt(m_transitionTime));
    save("Transitions", "TransitionType", fromInt(toInt(m_transitionType)));
    save("Trimming", "CutFirst", fromInt(m_cutFirst));
    save("Trimming", "CutLast", fromInt(m_cutLast));
    save("RandomPlayback", "rnd", fromInt(shuffleCheck->value()));
    save("BasicAudio", "Volume", fromInt(masterVolume->value()));
    save("Buttons", "cmdShowOptionsTop", fromSingle(m_showOptionsTop));
    save("Buttons", "cmdShowOptionsCaption", showOptionsButton->caption());
    save("Settings", "LogFolder", m_logFolder);
    save("Settings", "WriteLog", fromBool(m_logSwitch));
    saveOwnSettings(app);
    m_loudness->save(store, app);
    m_autoCue->save(store, app);
    // A window pushed to the very top edge (or not placed yet) keeps the
    // position stored before.
    if (top() > 10) {
        save("Window", "Top", fromInt(top()));
        save("Window", "Left", fromInt(left()));
        save("Window", "Height", fromInt(height()));
    }
    save("ShowOptions", "ShowOptions", fromInt(m_showOptions));
}

void PlayerWindow::toggleOptions()
{
    if (m_panelHeight > kPanelReduced) {
        m_panelHeight = kPanelReduced;
        m_showOptionsTop = 143;
        showOptionsButton->setCaption(QStringLiteral(">>"));
        m_showOptions = 0;
    } else {
        m_panelHeight = kPanelFull;
        showOptionsButton->setCaption(QStringLiteral("<<"));
        m_showOptions = 1;
        m_showOptionsTop = 270;
    }
    layOut();
}

void PlayerWindow::layOut()
{
    // A size the window is too small for stays as it was; the other steps
    // still run, so a tiny window keeps working and recovers when enlarged.
    PlayerLayout& l = m_layout;
    l.listTop = m_variant.listTop;
    l.panelHeight = m_panelHeight;
    if (const int w = innerWidth() - 2 * l.listLeft; w >= 0)
        l.listWidth = w;
    if (const int h = height() - 1000 - m_panelHeight - l.listTop; h >= 0)
        l.listHeight = h;
    l.progressTop = height() - 830;
    l.panelTop = height() - 1000 - m_panelHeight;
    Q_EMIT layoutChanged();
}

}  // namespace tavlo
