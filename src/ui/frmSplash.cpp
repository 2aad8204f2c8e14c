#include "ui/frmSplash.h"

#include <QFrame>
#include <QGridLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "app/AppInfo.h"
#include "ui/Artwork.h"

namespace tav {

namespace {
QLabel* label(QWidget* parent, const char* name, const QString& text, qreal scale, bool bold) {
    auto* l = new QLabel(text, parent);
    l->setObjectName(QLatin1String(name));
    QFont f = l->font();
    f.setPointSizeF(f.pointSizeF() * scale);
    f.setBold(bold);
    l->setFont(f);
    return l;
}
}  // namespace

frmSplash::frmSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    fraMainFrame = new QFrame(this);
    fraMainFrame->setObjectName(QStringLiteral("fraMainFrame"));
    fraMainFrame->setFrameShape(QFrame::Box);
    fraMainFrame->setLineWidth(1);

    const qreal dpr = devicePixelRatioF();
    Picture1 = new QLabel(fraMainFrame);
    Picture1->setObjectName(QStringLiteral("Picture1"));
    Picture1->setPixmap(artwork::radioPicture(150, dpr));
    Image1 = new QLabel(fraMainFrame);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setPixmap(artwork::wavesPicture(48, dpr));

    lblProductName = label(fraMainFrame, "lblProductName", appTitle(), 2.2, true);
    lblVersion =
        label(fraMainFrame, "lblVersion", QStringLiteral("Version ") + appVersion(), 1.1, false);
    lblCompanyProduct =
        label(fraMainFrame, "lblCompanyProduct", QStringLiteral("TAVEDWIN.EXE"), 1.0, false);
    lblPlatform = label(fraMainFrame, "lblPlatform", QStringLiteral("for Windows 95"), 1.0, false);
    auto* blurb = label(fraMainFrame, "lblDescription",
                        QStringLiteral("Programming editor for TAV series radios"), 1.0, false);

    auto* g = new QGridLayout(fraMainFrame);
    g->setContentsMargins(24, 20, 28, 20);
    g->setHorizontalSpacing(28);
    g->setVerticalSpacing(6);
    g->addWidget(Picture1, 0, 0, 6, 1, Qt::AlignCenter);
    g->addWidget(Image1, 0, 2, Qt::AlignRight | Qt::AlignTop);
    g->addWidget(lblCompanyProduct, 0, 1, Qt::AlignLeft | Qt::AlignBottom);
    g->addWidget(lblProductName, 1, 1);
    g->addWidget(blurb, 2, 1, 1, 2);
    g->setRowStretch(3, 1);
    g->addWidget(lblVersion, 4, 1, 1, 2, Qt::AlignRight);
    g->addWidget(lblPlatform, 5, 1, 1, 2, Qt::AlignRight);

    auto* v = new QVBoxLayout(this);
    v->setContentsMargins(6, 6, 6, 6);
    v->addWidget(fraMainFrame);
    setAutoFillBackground(true);
    setMinimumWidth(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 70);
}

}  // namespace tav
