#include "printing/frmQslStapel.h"

#include "mainwindow/frmMain.h"

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QPointer>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <memory>

namespace {

enum Spalte { Haken, Call, Datum, Utc, Mhz, Mode, PseTnx, Datei, Spalten };

QPushButton *knopf(const QString &name, const QString &text, QWidget *eltern)
{
    auto *k = new QPushButton(text, eltern);
    k->setObjectName(name);
    k->setAutoDefault(false);
    return k;
}

QTableWidgetItem *zelle(const QString &text)
{
    auto *z = new QTableWidgetItem(text);
    z->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
    return z;
}

QString pseTnx(bool tnx)
{
    return tnx ? QStringLiteral("TNX") : QStringLiteral("PSE");
}

} // namespace

frmQslStapel::frmQslStapel(Umgebung &umgebung, frmMain &haupt)
    : QDialog(&haupt)
    , u(umgebung)
    , m_haupt(haupt)
{
    setObjectName(QStringLiteral("frmQslStapel"));
    setWindowTitle(QStringLiteral("QSL-Stapel drucken"));
    setModal(false);

    m_filter = new QComboBox(this);
    m_filter->setObjectName(QStringLiteral("cboFilter"));
    m_filter->addItem(QStringLiteral("angefordert"), int(StapelFilter::Angefordert));
    m_filter->addItem(QStringLiteral("erhalten, unbeantwortet"), int(StapelFilter::Erhalten));
    m_filter->addItem(QStringLiteral("alle ungesendeten"), int(StapelFilter::Ungesendet));
    auto *filterText = new QLabel(QStringLiteral("&Filter:"), this);
    filterText->setObjectName(QStringLiteral("lblFilter"));
    filterText->setBuddy(m_filter);
    m_abDatumAn = new QCheckBox(QStringLiteral("a&b Datum"), this);
    m_abDatumAn->setObjectName(QStringLiteral("chkAbDatum"));
    m_abDatum = new QDateEdit(QDate::currentDate().addMonths(-1), this);
    m_abDatum->setObjectName(QStringLiteral("dtpAbDatum"));
    m_abDatum->setDisplayFormat(QStringLiteral("dd.MM.yyyy"));
    m_abDatum->setEnabled(false);

    m_liste = new QTableWidget(0, Spalten, this);
    m_liste->setObjectName(QStringLiteral("grdStapel"));
    m_liste->setHorizontalHeaderLabels({QString(), QStringLiteral("Call"), QStringLiteral("Datum"),
                                        QStringLiteral("UTC"), QStringLiteral("MHz"), QStringLiteral("Mode"),
                                        QStringLiteral("PSE/TNX"), QStringLiteral("Datei")});
    m_liste->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_liste->setSelectionMode(QAbstractItemView::SingleSelection);
    m_liste->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_liste->verticalHeader()->hide();
    m_liste->horizontalHeader()->setStretchLastSection(true);
    m_liste->setToolTip(QStringLiteral("Leertaste: Haken setzen oder entfernen, T: PSE/TNX umschalten"));
    m_liste->installEventFilter(this);

    m_anzahl = new QLabel(this);
    m_anzahl->setObjectName(QStringLiteral("lblAnzahl"));
    m_hinweis = new QLabel(this);
    m_hinweis->setObjectName(QStringLiteral("lblHinweis"));
    m_hinweis->setWordWrap(true);
    m_fortschritt = new QProgressBar(this);
    m_fortschritt->setObjectName(QStringLiteral("prgKarten"));
    m_fortschritt->setFormat(QString());
    m_fortschritt->setValue(0);

    m_alle = knopf(QStringLiteral("cmdAlle"), QStringLiteral("Alle"), this);
    m_keine = knopf(QStringLiteral("cmdKeine"), QStringLiteral("Keine"), this);
    m_drucken = knopf(QStringLiteral("cmdDrucken"), QStringLiteral("&Drucken"), this);
    m_abbrechen = knopf(QStringLiteral("cmdAbbrechen"), QStringLiteral("&Abbrechen"), this);
    m_schliessen = knopf(QStringLiteral("cmdSchliessen"), QStringLiteral("&Schließen"), this);
    m_abbrechen->setEnabled(false);

    auto *oben = new QHBoxLayout;
    oben->addWidget(filterText);
    oben->addWidget(m_filter);
    oben->addSpacing(12);
    oben->addWidget(m_abDatumAn);
    oben->addWidget(m_abDatum);
    oben->addStretch();
    auto *unten = new QHBoxLayout;
    unten->addWidget(m_alle);
    unten->addWidget(m_keine);
    unten->addWidget(m_anzahl);
    unten->addStretch();
    unten->addWidget(m_drucken);
    unten->addWidget(m_abbrechen);
    unten->addWidget(m_schliessen);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(oben);
    layout->addWidget(m_liste, 1);
    layout->addWidget(m_hinweis);
    layout->addWidget(m_fortschritt);
    layout->addLayout(unten);
    resize(720, 420);

    connect(m_filter, &QComboBox::currentIndexChanged, this, [this] { aufbauen(); });
    connect(m_abDatumAn, &QCheckBox::toggled, this, [this](bool an) {
        m_abDatum->setEnabled(an);
        aufbauen();
    });
    connect(m_abDatum, &QDateEdit::dateChanged, this, [this] {
        if (m_abDatumAn->isChecked())
            aufbauen();
    });
    connect(m_liste, &QTableWidget::itemChanged, this, [this] { anzahlZeigen(); });
    connect(m_liste, &QTableWidget::cellDoubleClicked, this, [this](int zeile, int spalte) {
        if (spalte == PseTnx)
            zeileUmschalten(zeile, PseTnx);
    });
    connect(m_liste, &QTableWidget::currentCellChanged, this, [this](int zeile) { karteZeigen(zeile); });
    connect(m_alle, &QPushButton::clicked, this, [this] { alleSetzen(true); });
    connect(m_keine, &QPushButton::clicked, this, [this] { alleSetzen(false); });
    connect(m_drucken, &QPushButton::clicked, this, [this] { drucken(); });
    connect(m_abbrechen, &QPushButton::clicked, this, [this] { abbrechen(); });
    connect(m_schliessen, &QPushButton::clicked, this, [this] { close(); });
}

void frmQslStapel::aufbauen()
{
    if (m_druckt)
        return;
    vorschauZurueck();
    const QDate ab = m_abDatumAn->isChecked() ? m_abDatum->date() : QDate();
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        m_stapel = StapelAufbauen(StapelDateien(u.z.AdifDatGes), StapelFilter(m_filter->currentData().toInt()), ab);
        QApplication::restoreOverrideCursor();
    }
    QSignalBlocker still(m_liste);
    m_liste->clearContents();
    m_liste->setRowCount(int(m_stapel.Eintraege.size()));
    for (int i = 0; i < m_liste->rowCount(); ++i) {
        const StapelEintrag &e = m_stapel.Eintraege.at(i);
        auto *haken = zelle(QString());
        haken->setFlags(haken->flags() | Qt::ItemIsUserCheckable);
        haken->setCheckState(Qt::Checked);
        m_liste->setItem(i, Haken, haken);
        m_liste->setItem(i, Call, zelle(e.Satz.Call));
        m_liste->setItem(i, Datum, zelle(e.Satz.DatumText));
        m_liste->setItem(i, Utc, zelle(e.Satz.ZeitText));
        m_liste->setItem(i, Mhz, zelle(e.Satz.MHzText));
        m_liste->setItem(i, Mode, zelle(e.Satz.Mode));
        m_liste->setItem(i, PseTnx, zelle(pseTnx(e.Erhalten)));
        m_liste->setItem(i, Datei, zelle(QFileInfo(e.Datei).fileName()));
        m_liste->item(i, Datei)->setToolTip(QDir::toNativeSeparators(e.Datei));
    }
    m_liste->resizeColumnsToContents();
    still.unblock();
    // The keyboard starts on the first row: Space ticks, T switches PSE/TNX.
    if (m_liste->rowCount() > 0)
        m_liste->setCurrentCell(0, Haken);
    QStringList hinweise = m_stapel.Fehler;
    if (m_stapel.Unvollstaendig > 0)
        hinweise << QStringLiteral("%1 QSO ohne Rufzeichen, Datum oder Zeit ausgelassen.").arg(m_stapel.Unvollstaendig);
    if (StapelDateien(u.z.AdifDatGes).isEmpty())
        hinweise << QStringLiteral("Keine ADIF-Datei gewählt (Datei: F3 oder F7).");
    m_hinweis->setText(hinweise.join(QLatin1Char('\n')));
    m_fortschritt->setValue(0);
    m_fortschritt->setFormat(QString());
    anzahlZeigen();
}

void frmQslStapel::alleSetzen(bool an)
{
    for (int i = 0; i < m_liste->rowCount(); ++i)
        m_liste->item(i, Haken)->setCheckState(an ? Qt::Checked : Qt::Unchecked);
}

QList<StapelAuswahl> frmQslStapel::auswahl() const
{
    QList<StapelAuswahl> karten;
    for (int i = 0; i < m_liste->rowCount(); ++i) {
        if (m_liste->item(i, Haken)->checkState() == Qt::Checked)
            karten.append({m_stapel.Eintraege.at(i), m_liste->item(i, PseTnx)->text() == QLatin1String("TNX")});
    }
    return karten;
}

void frmQslStapel::anzahlZeigen()
{
    const auto n = auswahl().size();
    m_anzahl->setText(n == 1 ? QStringLiteral("1 Karte") : QStringLiteral("%1 Karten").arg(n));
}

void frmQslStapel::zeileUmschalten(int zeile, int spalte)
{
    if (zeile < 0 || zeile >= m_liste->rowCount() || m_druckt)
        return;
    if (spalte == Haken) {
        QTableWidgetItem *h = m_liste->item(zeile, Haken);
        h->setCheckState(h->checkState() == Qt::Checked ? Qt::Unchecked : Qt::Checked);
    } else {
        QTableWidgetItem *p = m_liste->item(zeile, PseTnx);
        p->setText(pseTnx(p->text() != QLatin1String("TNX")));
        karteZeigen(zeile);
    }
}

void frmQslStapel::karteZeigen(int zeile)
{
    if (zeile < 0 || zeile >= m_liste->rowCount() || m_druckt || !isActiveWindow())
        return;
    if (!m_gemerkt)
        m_gemerkt = m_haupt.vorschau();
    const StapelAuswahl a{m_stapel.Eintraege.at(zeile), m_liste->item(zeile, PseTnx)->text() == QLatin1String("TNX")};
    m_haupt.vorschau() = StapelKarte(a, QDate::currentDate(), *m_gemerkt, u.z.ChkIndex);
    m_haupt.vorschauZeigen();
}

void frmQslStapel::vorschauZurueck()
{
    if (!m_gemerkt)
        return;
    m_haupt.vorschau() = *m_gemerkt;
    m_gemerkt.reset();
    m_haupt.vorschauZeigen();
}

void frmQslStapel::druckzustand(bool druckend)
{
    m_druckt = druckend;
    m_stopp = false;
    for (QWidget *w : {static_cast<QWidget *>(m_filter), static_cast<QWidget *>(m_abDatumAn),
                       static_cast<QWidget *>(m_liste), static_cast<QWidget *>(m_alle), static_cast<QWidget *>(m_keine),
                       static_cast<QWidget *>(m_drucken), static_cast<QWidget *>(m_schliessen)})
        w->setEnabled(!druckend);
    m_abDatum->setEnabled(!druckend && m_abDatumAn->isChecked());
    m_abbrechen->setEnabled(druckend);
    // The job lets events run between its cards: no other command may start
    // meanwhile on the printer or the logs.
    for (QAction *a : m_haupt.findChildren<QAction *>())
        a->setEnabled(!druckend);
    if (druckend)
        m_abbrechen->setFocus();
}

void frmQslStapel::drucken()
{
    if (m_druckt)
        return;
    vorschauZurueck();
    const QList<StapelAuswahl> karten = auswahl();
    if (karten.isEmpty()) {
        m_hinweis->setText(QStringLiteral("Keine Karte ausgewählt."));
        return;
    }
    druckzustand(true);
    m_fortschritt->setRange(0, int(karten.size()));
    StapelRueckrufe r;
    r.bild1Sichtbar = [this](bool sichtbar) { m_haupt.bild1Zeigen(sichtbar); };
    r.weiter = [this](int n, int gesamt) {
        m_fortschritt->setValue(n - 1);
        m_fortschritt->setFormat(QStringLiteral("Karte %1 von %2").arg(n).arg(gesamt));
        QApplication::processEvents();
        return !m_stopp;
    };
    // While the layout editor marks the preview, empty fields show the items'
    // names there; the cards carry the QSOs' own texts only (StapelKarte).
    const StapelErgebnis e = StapelDrucken(u, karten, m_haupt.vorschau(), r);
    druckzustand(false);

    aufbauen();
    QString text;
    switch (e.ergebnis) {
    case DruckErgebnis::Gedruckt:
        text = QStringLiteral("%1 von %2 Karten gedruckt, %3 im Logbuch als gesendet vermerkt.")
                   .arg(e.gedruckt)
                   .arg(karten.size())
                   .arg(e.markiert);
        if (!e.datei.isEmpty()) {
            text += QStringLiteral(" PDF-Datei: ") + QDir::toNativeSeparators(e.datei);
            m_haupt.statusMelden(QStringLiteral("QSL-Stapel als PDF-Datei gespeichert: ")
                                 + QDir::toNativeSeparators(e.datei));
        }
        break;
    case DruckErgebnis::Abgebrochen: text = QStringLiteral("Abgebrochen, keine Karte gedruckt."); break;
    default: text = QStringLiteral("Keine Karte gedruckt, nichts im Logbuch vermerkt."); break;
    }
    m_hinweis->setText(text);
}

bool frmQslStapel::eventFilter(QObject *objekt, QEvent *event)
{
    if (objekt == m_liste && event->type() == QEvent::KeyPress) {
        const auto *taste = static_cast<QKeyEvent *>(event);
        if (taste->key() == Qt::Key_Space) {
            zeileUmschalten(m_liste->currentRow(), Haken);
            return true;
        }
        if (taste->key() == Qt::Key_T) {
            zeileUmschalten(m_liste->currentRow(), PseTnx);
            return true;
        }
    }
    return QDialog::eventFilter(objekt, event);
}

void frmQslStapel::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() != QEvent::ActivationChange)
        return;
    if (isActiveWindow())
        karteZeigen(m_liste->currentRow());
    else
        vorschauZurueck();
}

void frmQslStapel::hideEvent(QHideEvent *event)
{
    vorschauZurueck();
    QDialog::hideEvent(event);
}

void frmQslStapel::closeEvent(QCloseEvent *event)
{
    // Closing during the job stops it after the current card; the window
    // stays until the marks are written.
    if (m_druckt) {
        m_stopp = true;
        event->ignore();
        return;
    }
    QDialog::closeEvent(event);
}

void frmQslStapel::reject()
{
    if (m_druckt) {
        m_stopp = true;
        return;
    }
    QDialog::reject();
}

void QslStapelAnbinden(Umgebung &u, frmMain &hauptfenster)
{
    auto fenster = std::make_shared<QPointer<frmQslStapel>>();
    hauptfenster.verbinden(Befehl::mnuQslStapel, [&u, &hauptfenster, fenster] {
        if (!*fenster)
            *fenster = new frmQslStapel(u, hauptfenster);
        frmQslStapel *f = *fenster;
        if (f->drucktGerade())
            return;
        f->aufbauen();
        f->show();
        f->raise();
        f->activateWindow();
        f->findChild<QTableWidget *>(QStringLiteral("grdStapel"))->setFocus();
    });
}
