#include "windows/Vyslf.h"

#include "app/ErrorBox.h"
#include "practice/PracticeState.h"
#include "store/DataDir.h"
#include "store/ListFile.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/SvgIcon.h"
#include "windows/Zadanhe.h"

#include <QDir>
#include <QFileInfo>
#include <QShowEvent>

TvyslForm* vyslForm = nullptr;

QString DesignListText() {
    return QString(16, QLatin1Char(' ')) + QStringLiteral("\r\n") + QString(7, QLatin1Char(' ')) +
           QStringLiteral("Špatně vypočítané příklady  \r\n") + QString(4, QLatin1Char(' ')) +
           QStringLiteral("\r\n");
}

QString ClearedListText() {
    const QString blanks(13, QLatin1Char(' '));
    return blanks + QStringLiteral("\r\n  Špatně vypočítané příklady \r\n") + blanks +
           QStringLiteral("\r\n");
}

TvyslForm::TvyslForm(QWidget* parent) : QDialog(parent) {
    setFont(PixelFont("System", 13));
    setupUi(this);
    LoadIcons(this);
    MakeFixedDialog(this, 352, 412);
    SetListText(DesignListText());
    connect(BitBtn1, &QPushButton::clicked, this, [this] {
        setResult(QDialog::Accepted);
        RunStep([this] { BitBtn1Click(); });
        accept();
    });
    connect(BitBtn2, &QPushButton::clicked, this, [this] {
        RunStep([this] {
            if (PasswordDlg1->AskIfProtected())
                BitBtn2Click();
        });
    });
    RunStep([this] { FormCreate(); });
}

void TvyslForm::FormCreate() {
    move(PracticeState.HomeLeft, PracticeState.HomeTop);
}

void TvyslForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (event->spontaneous())
        return;
    RunStep([this] { FormShow(); });
    KeepInView(this, Form1);
}

void TvyslForm::FormShow() {
    // The file's list replaces what is shown; lines answered wrongly while
    // the file could not be read are kept below it.
    LoadList();
}

void TvyslForm::BitBtn1Click() {
    SaveList();
}

void TvyslForm::BitBtn2Click() {
    ListLoaded = true;
    SetListText(ClearedListText());
    SaveList();
}

QString TvyslForm::ListText() const {
    return Memo1->Text();
}

void TvyslForm::SetListText(const QString& text) {
    Memo1->SetText(text);
}

void TvyslForm::AddLine(const QString& line) {
    Memo1->AppendLine(line);
}

void TvyslForm::LoadList() {
    const QString design = DesignListText();
    const QString shown = ListText();
    // No file yet is an empty list, not an error: the window keeps what it
    // shows, the heading lines on a first start.
    const QFileInfo file(GetListPath());
    if (!file.exists() && !file.isSymLink() && file.dir().exists()) {
        ListLoaded = true;
        return;
    }
    QString text = LoadListFile(GetListPath());
    if (!ListLoaded && shown.startsWith(design)) {
        // Until the file has been read the list is the design lines and
        // the wrong answers of this run: those go below the file's lines.
        const QString added = shown.mid(design.size());
        if (!added.isEmpty() && !text.isEmpty() && !text.endsWith(QLatin1String("\r\n")))
            text += QLatin1String("\r\n");
        text += added;
    }
    SetListText(text);
    ListLoaded = true;
}

void TvyslForm::SaveList() {
    // The list is never saved over a file whose lines it does not hold.
    KeepEarlierRuns();
    SaveListFile(GetListPath(), ListText());
}

void TvyslForm::ReloadList() {
    SetListText(DesignListText());
    ListLoaded = false;
    LoadList();
}

void TvyslForm::KeepEarlierRuns() {
    if (ListLoaded)
        return;
    // A missing file is no error here; a file that is there but cannot be
    // read is reported, and the list is not saved over it.
    if (QFileInfo(GetListPath()).isFile())
        LoadList();
    ListLoaded = true;
}
