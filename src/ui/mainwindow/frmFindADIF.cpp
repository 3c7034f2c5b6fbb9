#include "mainwindow/frmFindADIF.h"

#include "core/Hilfen.h"
#include "mainwindow/frmMain.h"
#include "search/Dateisuche.h"

#include <QApplication>
#include <QCloseEvent>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QStorageInfo>
#include <memory>

namespace {

QPushButton *knopf(const QString &name, const QString &text, QWidget *eltern)
{
    auto *k = new QPushButton(text, eltern);
    k->setObjectName(name);
    k->setAutoDefault(false);
    return k;
}

QLabel *beschriftung(const QString &name, const QString &text, QWidget *eltern)
{
    auto *l = new QLabel(text, eltern);
    l->setObjectName(name);
    return l;
}

// "/home  [sda2]": the root and, when known, the volume's label or device.
QString laufwerkText(const QString &wurzel)
{
    const QStorageInfo info(wurzel);
    if (!info.isValid() || info.rootPath() != wurzel)
        return wurzel;
    QString name = info.name();
    if (name.isEmpty())
        name = QFile::decodeName(info.device()).section(QLatin1Char('/'), -1);
    return name.isEmpty() ? wurzel : wurzel + QStringLiteral("  [") + name + QLatin1Char(']');
}

} // namespace

frmFindADIF::frmFindADIF(Umgebung &umgebung, QWidget *parent, const QStringList &laufwerke)
    : QDialog(parent)
    , u(umgebung)
{
    setObjectName(QStringLiteral("frmFindADIF"));
    setWindowTitle(QStringLiteral("ADIF-Dateien suchen und laden"));

    m_drive1 = new QComboBox(this);
    m_drive1->setObjectName(QStringLiteral("Drive1"));
    const QStringList wurzeln = laufwerke.isEmpty() ? Laufwerke() : laufwerke;
    for (const QString &w : wurzeln)
        m_drive1->addItem(laufwerkText(w), w);
    const int aktuell = m_drive1->findData(LaufwerkVon(QDir::currentPath()));
    m_drive1->setCurrentIndex(aktuell >= 0 ? aktuell : 0);

    m_text2 = new QLineEdit(QStringLiteral("*.adi"), this);
    m_text2->setObjectName(QStringLiteral("Text2"));
    m_list1 = new QListWidget(this);
    m_list1->setObjectName(QStringLiteral("List1"));
    m_list1->setSelectionMode(QAbstractItemView::MultiSelection);
    m_text3 = new QLineEdit(this);
    m_text3->setObjectName(QStringLiteral("Text3"));
    m_text3->setReadOnly(true);

    m_command1 = knopf(QStringLiteral("Command1"), QStringLiteral("&Neusuchen"), this);
    m_command2 = knopf(QStringLiteral("Command2"), QStringLiteral("&Übernehmen"), this);
    m_command3 = knopf(QStringLiteral("Command3"), QStringLiteral("&Abbrechen"), this);
    m_frame1 = new QGroupBox(QStringLiteral("Neue Suchergebnisse hinzufügen?"), this);
    m_frame1->setObjectName(QStringLiteral("Frame1"));
    auto *ja = knopf(QStringLiteral("Command4"), QStringLiteral("&Ja"), m_frame1);
    auto *nein = knopf(QStringLiteral("Command5"), QStringLiteral("&Nein"), m_frame1);
    auto *frage = new QHBoxLayout(m_frame1);
    frage->addWidget(ja);
    frage->addWidget(nein);

    auto *raster = new QGridLayout(this);
    raster->addWidget(beschriftung(QStringLiteral("Label1"), QStringLiteral("Laufwerk:"), this), 0, 0);
    raster->addWidget(m_drive1, 0, 1);
    raster->addWidget(beschriftung(QStringLiteral("Label2"), QStringLiteral("Datei - Endung:"), this), 1, 0);
    raster->addWidget(m_text2, 1, 1);
    raster->addWidget(beschriftung(QStringLiteral("Label3"), QStringLiteral("gefunden:"), this), 2, 0, Qt::AlignTop);
    raster->addWidget(m_list1, 2, 1);
    raster->addWidget(m_text3, 3, 0, 1, 2);
    raster->addWidget(m_frame1, 4, 0, 1, 2);
    auto *knoepfe = new QHBoxLayout;
    knoepfe->addWidget(m_command1);
    knoepfe->addStretch();
    knoepfe->addWidget(m_command2);
    knoepfe->addWidget(m_command3);
    raster->addLayout(knoepfe, 5, 0, 1, 2);
    raster->setColumnStretch(1, 1);
    resize(620, 420);

    connect(m_command1, &QPushButton::clicked, this, &frmFindADIF::neuSuchen);
    connect(m_command2, &QPushButton::clicked, this, &frmFindADIF::uebernehmen);
    connect(m_command3, &QPushButton::clicked, this, &frmFindADIF::abbrechen);
    connect(ja, &QPushButton::clicked, this, [this] { antworten(6); });
    connect(nein, &QPushButton::clicked, this, [this] { antworten(7); });
    connect(m_list1, &QListWidget::itemClicked, this, [this] { m_command2->setEnabled(true); });
    // Picking with the keyboard (Space, Shift with the arrows, Ctrl+A) counts
    // as a click, except while a search or its question holds the window.
    connect(m_list1, &QListWidget::itemSelectionChanged, this, [this] {
        if (!m_sucht && !m_frage)
            m_command2->setEnabled(true);
    });
    m_list1->installEventFilter(this);

    laden();
}

void frmFindADIF::laden()
{
    if (parentWidget())
        setWindowIcon(parentWidget()->windowIcon());
    m_frame1->hide();
    m_text3->clear();
    Zustand &z = u.z;
    // Reading the list moves AdifDatIndex along; the current file is still the
    // one it named before.
    const qint32 index = z.AdifDatIndex;
    AdifDateiAusListe(z, u.meldungen, z.AdifDatGes, 0);
    int anzahl = 0;
    for (int i = 0; i <= z.AdifDatLast; ++i) {
        const QString datei = AdifDateiAusListe(z, u.meldungen, z.AdifDatGes, i);
        if (datei.isEmpty())
            continue;
        auto *eintrag = new QListWidgetItem(datei, m_list1);
        eintrag->setSelected(true);
        ++anzahl;
    }
    z.AdifDatIndex = index;
    if (m_list1->count() > 0)
        m_list1->setCurrentRow(0, QItemSelectionModel::NoUpdate);
    if (anzahl > 0)
        m_text3->setText(UebernommenText(anzahl));
    m_command2->setEnabled(false);
}

bool frmFindADIF::eventFilter(QObject *objekt, QEvent *event)
{
    // A click adds a file to the choice; Shift with an arrow key adds the
    // files it passes over, as other file lists do.
    if (objekt == m_list1 && event->type() == QEvent::KeyPress) {
        const auto *taste = static_cast<QKeyEvent *>(event);
        const int schritt = taste->key() == Qt::Key_Down ? 1 : taste->key() == Qt::Key_Up ? -1 : 0;
        if (schritt != 0 && taste->modifiers() == Qt::ShiftModifier && m_list1->count() > 0) {
            const int von = m_list1->currentRow();
            const int nach = qBound(0, von + schritt, m_list1->count() - 1);
            for (int i = qMax(0, qMin(von, nach)); i <= qMax(von, nach); ++i)
                m_list1->item(i)->setSelected(true);
            m_list1->setCurrentRow(nach, QItemSelectionModel::NoUpdate);
            return true;
        }
    }
    return QDialog::eventFilter(objekt, event);
}

void frmFindADIF::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_command3->setFocus();
}

void frmFindADIF::antworten(int antwort)
{
    Antwort = antwort;
    if (m_frage)
        m_frage->quit();
}

void frmFindADIF::suchzustand(bool suchend)
{
    // The window is closed to input while it searches, except "&Abbrechen".
    for (QWidget *w :
         {static_cast<QWidget *>(m_drive1), static_cast<QWidget *>(m_text2), static_cast<QWidget *>(m_list1),
          static_cast<QWidget *>(m_text3), static_cast<QWidget *>(m_command1), static_cast<QWidget *>(m_command2)})
        w->setEnabled(!suchend);
    m_sucht = suchend;
    if (suchend)
        QApplication::setOverrideCursor(Qt::BusyCursor);
    else
        QApplication::restoreOverrideCursor();
}

void frmFindADIF::gefundeneZeigen()
{
    if (m_neu.isEmpty())
        return;
    m_list1->addItems(m_neu);
    m_neu.clear();
}

void frmFindADIF::neuSuchen()
{
    if (m_sucht || m_frage)
        return;
    Antwort = 0;
    m_command1->setEnabled(false);
    m_command2->setEnabled(false);
    if (m_list1->count() > 0) {
        m_frame1->show();
        QEventLoop warten;
        m_frage = &warten;
        warten.exec();
        m_frage = nullptr;
        m_frame1->hide();
        if (Antwort == 0) {
            // "&Abbrechen" while the question was open: no search.
            m_command1->setEnabled(true);
            return;
        }
        if (Antwort == 7) {
            m_list1->clear();
            m_text3->clear();
        }
    }

    // The stored list stays until "&Übernehmen": cancelled, the search leaves
    // the list, the current file and the log browser as they were.
    suchzustand(true);
    QString wurzel = m_drive1->currentData().toString();
    if (wurzel.isEmpty())
        wurzel = QStringLiteral("/");
    qint64 dateien = 0;
    qint64 ordner = 0;
    Suchlauf lauf;
    lauf.meldeAbstandMs = meldeAbstandMs;
    lauf.gefunden = [this](const QString &pfad) { m_neu << pfad; };
    QStringList ausgelassen;
    lauf.ausgelassen = [&ausgelassen](const QString &pfad) { ausgelassen << pfad; };
    lauf.fortschritt = [this, &dateien](qint64 durchsucht) {
        gefundeneZeigen();
        m_text3->setText(FortschrittText(durchsucht, dateien));
        QCoreApplication::processEvents();
        return !m_stopp;
    };
    m_stopp = false;
    const qint64 summe = FindFilesAPI(wurzel, m_text2->text(), dateien, ordner, lauf);
    gefundeneZeigen();
    QString ergebnis = ErgebnisText(dateien, ordner + 1, wurzel, summe);
    if (lauf.abgebrochen)
        ergebnis += QStringLiteral(" (abgebrochen)");
    m_text3->setText(ergebnis);
    suchzustand(false);
    m_command1->setEnabled(true);
    m_command2->setEnabled(true);
    PfadeOhneStrichpunkt(u.meldungen, ausgelassen);
}

void frmFindADIF::uebernehmen()
{
    QString liste;
    for (int i = 0; i < m_list1->count(); ++i) {
        const QListWidgetItem *eintrag = m_list1->item(i);
        if (eintrag->isSelected())
            liste += eintrag->text() + QLatin1Char(';');
    }
    if (liste.isEmpty()) {
        u.meldungen.zeigen(QStringLiteral(" Keine Datei ausgewählt! "),
                           QStringLiteral(" Bitte eine Datei ausgewählen oder Abbrechen "), Symbol::Ausruf,
                           Knoepfe::Ok);
        return;
    }
    u.z.AdifDatGes = liste;
    hide();
}

void frmFindADIF::abbrechen()
{
    if (m_sucht) {
        m_stopp = true;
        return;
    }
    if (m_frage)
        m_frage->quit();
    hide();
}

void frmFindADIF::reject()
{
    abbrechen();
}

void frmFindADIF::closeEvent(QCloseEvent *event)
{
    // The close box ends a running search as well; the window is only hidden.
    m_stopp = true;
    if (m_frage)
        m_frage->quit();
    event->ignore();
    hide();
}

void DateisucheAnbinden(Umgebung &u, frmMain &hauptfenster)
{
    auto fenster = std::make_shared<QPointer<frmFindADIF>>();
    hauptfenster.verbinden(Befehl::mnuXFileOpen, [&u, &hauptfenster, fenster] {
        if (!*fenster)
            *fenster = new frmFindADIF(u, &hauptfenster);
        (*fenster)->exec();
        if (!u.z.AdifDatGes.isEmpty())
            u.z.AdifDatei = AdifDateiAusListe(u.z, u.meldungen, u.z.AdifDatGes, 0);
    });
}
