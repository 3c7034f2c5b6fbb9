#pragma once

#include "core/Umgebung.h"

#include <QDialog>
#include <QStringList>

class QComboBox;
class QEventLoop;
class QGroupBox;
class QLineEdit;
class QListWidget;
class QPushButton;
class frmMain;

// "ADIF-Dateien suchen und laden": searches a volume for log files by a name
// pattern and takes the chosen ones over as the program's file list. The main
// window shows it modal; its buttons only hide it, so the next showing finds the
// list, the selection and the result line as they were left.
class frmFindADIF : public QDialog
{
    Q_OBJECT

public:
    // laufwerke: the root folders offered under "Laufwerk:"; empty offers the
    // mounted volumes.
    explicit frmFindADIF(Umgebung &umgebung, QWidget *parent = nullptr, const QStringList &laufwerke = {});

    // Answer of the question panel: 0 none, 6 "&Ja", 7 "&Nein".
    int Antwort = 0;
    // How often a running search refreshes the window (the folder count, the
    // files found so far, "&Abbrechen").
    int meldeAbstandMs = 50;

    // "&Neusuchen": asks whether to add to the list, then searches. The
    // program's file list changes only with "&Übernehmen".
    void neuSuchen();
    // "&Übernehmen": the selected files become the file list.
    void uebernehmen();
    // "&Abbrechen": stops a running search; otherwise hides the window and
    // leaves the file list as it is.
    void abbrechen();

    bool suchtGerade() const { return m_sucht; }

public Q_SLOTS:
    void reject() override;

protected:
    bool eventFilter(QObject *objekt, QEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void laden();
    void antworten(int antwort);
    void gefundeneZeigen();
    void suchzustand(bool suchend);

    Umgebung &u;
    QComboBox *m_drive1 = nullptr;
    QLineEdit *m_text2 = nullptr;
    QListWidget *m_list1 = nullptr;
    QLineEdit *m_text3 = nullptr;
    QPushButton *m_command1 = nullptr;
    QPushButton *m_command2 = nullptr;
    QPushButton *m_command3 = nullptr;
    QGroupBox *m_frame1 = nullptr;
    QEventLoop *m_frage = nullptr;
    QStringList m_neu;
    bool m_sucht = false;
    bool m_stopp = false;
};

// Wires "Öffnen &mehrere ADIF-Dateien" of the main window: the one finder is
// created on first use and shown modal; afterwards the first file of a non-empty
// list becomes the current file.
void DateisucheAnbinden(Umgebung &u, frmMain &hauptfenster);
