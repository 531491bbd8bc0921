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
    Label1 = new Label(this, QStringLiteral("Label1"), QStringLiteral("TAVLO Broadcast"));
    lblVersion = new Label(this, QStringLiteral("lblVersion"), QStringLiteral("Version"));
    lblDescription = new Label(
        this, QStringLiteral("lblDescription"),
        QStringLiteral("Plays MP3 files with transitions between songs, and inserts playlists by time priority."));
    lblTitle = new Label(this, QStringLiteral("lblTitle"), QStringLiteral("Written by the Tavlo authors."));
    Label2 = new Label(this, QStringLiteral("Label2"), m_contact.email);
    Label2->setToolTip(QStringLiteral("Send us an email"));
    Label2->setVisible(!m_contact.email.isEmpty());
    Label2->onClick = [this] { Label2_Click(); };
    Label5 = new Label(this, QStringLiteral("Label5"), m_contact.website);
    Label5->setToolTip(QStringLiteral("come to our website"));
    Label5->setVisible(!m_contact.website.isEmpty());
    Label5->onClick = [this] { Label5_Click(); };
    cmdOK = new Button(this, QStringLiteral("cmdOK"), QStringLiteral("OK"));
    cmdOK->onClick = [this] { cmdOK_Click(); };
}

void AboutBox::open()
{
    Form_Load();
    show();
}

void AboutBox::Form_Load()
{
    const QString version = versionText(m_version);
    lblVersion->setText(QStringLiteral("Version ") + version);
    Label1->setText(QStringLiteral("tavlo Broadcast ") + version);
    const QSize screen = m_screen.availableTwips();
    setGeometry((screen.width() - kWidth) / 2, (screen.height() - kHeight) / 2, kWidth, kHeight);
}

void AboutBox::Label2_Click()
{
    if (!m_contact.email.isEmpty())
        m_shell.openUrl(QUrl(QStringLiteral("mailto:") + m_contact.email));
}

void AboutBox::Label5_Click()
{
    if (!m_contact.website.isEmpty())
        m_shell.openUrl(QUrl::fromUserInput(m_contact.website));
}

void AboutBox::cmdOK_Click() { hide(); }

}  // namespace tavlo
