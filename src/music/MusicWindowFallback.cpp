// MusicWindow, the fallback list: choosing it, keeping it in the settings,
// the command line's own, and what a fallback song tells the song-info
// report. Playing it is PlayerWindow's (PlayerWindowFallback.cpp).
#include "music/MusicWindow.h"

#include "platform/AppServices.h"
#include "platform/MediaFormat.h"
#include "platform/SettingsStore.h"
#include "platform/UserDialogs.h"
#include "playlist/PlaylistEdits.h"

namespace tavlo {

namespace {
const QString kSection = QStringLiteral("Fallback");
const QString kKey = QStringLiteral("List");
}  // namespace

void MusicWindow::chooseFallbackList()
{
    const QStringList files = services().dialogs.chooseFilesToOpen(
        QStringLiteral("Fallback List"), QString(),
        QStringLiteral("Playlists (*.m3u *.m3u8 *.pls)|*.m3u *.m3u8 *.pls|Audio files (%1)|%1|Anything (*.*)|*.*")
            .arg(audioFilePatterns()));
    if (files.isEmpty())
        return;
    m_storedFallback = files.first();
    m_forcedFallback.clear();
    applyFallbackChoice();
    saveFallbackChoice(settingsAppName());
}

void MusicWindow::clearFallbackList()
{
    m_storedFallback.clear();
    m_forcedFallback.clear();
    applyFallbackChoice();
    saveFallbackChoice(settingsAppName());
}

void MusicWindow::forceFallbackList(const QString& source)
{
    m_forcedFallback = source;
    applyFallbackChoice();
}

void MusicWindow::applyFallbackChoice()
{
    const QString chosen = m_forcedFallback.isEmpty() ? m_storedFallback : m_forcedFallback;
    // The same source again keeps its place in the order.
    if (chosen != fallbackList().source())
        fallbackList().setSource(chosen);
    fallbackListItem->setChecked(!chosen.isEmpty());
    noFallbackListItem->setEnabled(!chosen.isEmpty());
}

void MusicWindow::readFallbackChoice(const QString& app)
{
    m_storedFallback = services().settings.get(app, kSection, kKey, QString());
    applyFallbackChoice();
}

void MusicWindow::saveFallbackChoice(const QString& app)
{
    // Written only when it changed, so a settings file that never had one is
    // written back as it was.
    SettingsStore& store = services().settings;
    if (store.get(app, kSection, kKey, QString()) != m_storedFallback)
        store.save(app, kSection, kKey, m_storedFallback);
}

void MusicWindow::fallbackSongLoaded(const QString& path, int seconds)
{
    const PlaylistRow row = rowForFile(path);
    reportSong(row.fields[ColTitle], row.fields[ColArtist], row.fields[ColCd], seconds, path);
}

}  // namespace tavlo
