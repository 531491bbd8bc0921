#include "app/AboutBox.h"

#include "platform/Screen.h"
#include "platform/Shell.h"

#include <QUrl>

#ifndef TAVLO_VERSION_MAJOR
#define TAVLO_VERSION_MAJOR 0
#define TAVLO_VERSION_MINOR 0
#define TAVLO_VERSION_PATCH 0
#endif
#ifndef TAVLO_CONTACT_EMAIL
#define TAVLO_CONTACT_EMAIL ""
#endif
#ifndef TAVLO_WEBSITE
#define TAVLO_WEBSITE ""
#endif

namespace tavlo {

namespace {

// The box as it is drawn, in twips.
constexpr int kWidth = 6000;
constexpr int kHeight = 3900;

// Minor and revision run together: 3.7.0 reads "3.70".
QString versionText(const AboutBox::Version& v)
{
    return QStringLiteral("%1.%2%3").arg(v.major).arg(v.minor).arg(v.revision);
}

}  // namespace

AboutBox::Version AboutBox::programVersion() { return {TAVLO_VERSION_MAJOR, TAVLO_VERSION_MINOR, TAVLO_VERSION_PATCH}; }

AboutBox::Contact AboutBox::programContact()
{
    return {QString::fromUtf8(TAVLO_CONTACT_EMAIL), QString::fromUtf8(TAVLO_WEBSITE)};
}

AboutBox::AboutBox(Shell& shell, Screen& screen, Version version, Contact contact, QObject* parent)
    : Form(QStringLiteral("AboutBox"), QString(), parent),
      m_shell(shell),
      m_screen(screen),
      m_version(version),
      m_contact(std::move(contact))
{
    setCaption(m_contact.email.isEmpty() ? QStringLiteral("TAVLO") : QStringLiteral("TAVLO ") + m_contact.email);
    productLabel = new Label(this, QStringLiteral("Label1"), QStringLiteral("TAVLO Broadcast"));
    versionLabel = new Label(this, QStringLiteral("lblVersion"), QStringLiteral("Version"));
    descriptionLabel = new Label(
        this, QStringLiteral("lblDescription"),
        QStringLiteral("Plays MP3 files with transitions between songs, and inserts playlists by time priority."));
    authorsLabel = new Label(this, QStringLiteral("lblTitle"), QStringLiteral("Written by the Tavlo authors."));
    emailLabel = new Label(this, QStringLiteral("Label2"), m_contact.email);
    emailLabel->setToolTip(QStringLiteral("Send us an email"));
    emailLabel->setVisible(!m_contact.email.isEmpty());
    emailLabel->onClick = [this] { writeEmail(); };
    websiteLabel = new Label(this, QStringLiteral("Label5"), m_contact.website);
    websiteLabel->setToolTip(QStringLiteral("come to our website"));
    websiteLabel->setVisible(!m_contact.website.isEmpty());
    websiteLabel->onClick = [this] { openWebsite(); };
    okButton = new Button(this, QStringLiteral("cmdOK"), QStringLiteral("OK"));
    okButton->onClick = [this] { close(); };
}

void AboutBox::open()
{
    load();
    show();
}

void AboutBox::load()
{
    const QString version = versionText(m_version);
    versionLabel->setText(QStringLiteral("Version ") + version);
    productLabel->setText(QStringLiteral("tavlo Broadcast ") + version);
    const QSize screen = m_screen.availableTwips();
    setGeometry((screen.width() - kWidth) / 2, (screen.height() - kHeight) / 2, kWidth, kHeight);
}

void AboutBox::writeEmail()
{
    if (!m_contact.email.isEmpty())
        m_shell.openUrl(QUrl(QStringLiteral("mailto:") + m_contact.email));
}

void AboutBox::openWebsite()
{
    if (!m_contact.website.isEmpty())
        m_shell.openUrl(QUrl::fromUserInput(m_contact.website));
}

void AboutBox::close() { hide(); }

}  // namespace tavlo
