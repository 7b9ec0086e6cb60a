// Help and web links: pages of the maker's site, a mail to the maker and the
// partner casino's registration page, each handed to the desktop, which opens
// it with the user's default handler. Nothing of the program changes.
#include "app/mainwindow/Unit1.h"

#include "common/IntegerText.h"

#include <QUrl>
#include <QUrlQuery>

namespace trevolo {

namespace {

// The maker's site: every page is the root path with its page number.
QUrl MakerPage(qint32 pageId)
{
    QUrl url(QStringLiteral("http://trevolo.example/"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("page_id"), IntToStr(pageId));
    url.setQuery(query);
    return url;
}

// A new mail to the maker's support mailbox. The subject, quotes included,
// is part of the address; QUrl percent-encodes it (as UTF-8) for the desktop.
QUrl MailToMaker()
{
    QUrl url;
    url.setScheme(QStringLiteral("mailto"));
    url.setPath(QStringLiteral("support@trevolo.example"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("subject"),
                       QStringLiteral("\"Пожелания по работе программы Trevolo\""));
    url.setQuery(query);
    return url;
}

// The partner casino "Лунный Кит": its registration page with the maker's
// referral number.
QUrl PartnerRegistration()
{
    QUrl url(QStringLiteral("http://lunnyi-kit.example/register"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("tracker"), QStringLiteral("40713"));
    url.setQuery(query);
    return url;
}

} // namespace

void TForm1::ConnectLinks()
{
    OnClick(n30, &TForm1::N30Click);
    OnClick(n20, &TForm1::N20Click);
    OnClick(n23, &TForm1::N23Click);
    OnClick(n15, &TForm1::N15Click);
    OnClick(n8, &TForm1::N8Click);
    OnClick(n25, &TForm1::N25Click);
}

void TForm1::N20Click()
{
    environment().openUrl(MakerPage(3));
}

void TForm1::N23Click()
{
    environment().openUrl(MakerPage(5));
}

void TForm1::N15Click()
{
    environment().openUrl(MakerPage(2));
}

void TForm1::N8Click()
{
    environment().openUrl(MailToMaker());
}

void TForm1::N25Click()
{
    environment().openUrl(PartnerRegistration());
}

} // namespace trevolo
