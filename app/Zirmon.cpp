#include "app/Zirmon.h"

#include "store/Family.h"

#include "windows/About.h"
#include "windows/Histr.h"
#include "windows/Look.h"
#include "windows/Mainzirm.h"
#include "windows/Man.h"
#include "windows/Nastzirm.h"
#include "windows/Passwd.h"
#include "windows/Pokrok.h"
#include "windows/Vyberdite.h"
#include "windows/Vyslf.h"
#include "windows/Zadanhe.h"

#include <QtGlobal>

// The resources live in the static library; this makes sure they are linked.
static void InitResources() {
    Q_INIT_RESOURCE(zirmon);
}

void CreateWindows() {
    InitResources();
    SetProgramFont();
    // The family says whose files the windows read.
    LoadFamily();
    new TForm1;
    setpoc = new Tsetpoc;
    AboutBox = new TAboutBox;
    hist = new Thist;
    manual = new Tmanual;
    PasswordDlg = new TPasswordDlg;
    PasswordDlg1 = new TPasswordDlg1;
    vyslForm = new TvyslForm;
    Vyberdite = new TVyberdite;
}

namespace {
template <typename T> void Destroy(T*& window) {
    delete window;
    window = nullptr;
}
} // namespace

void DestroyWindows() {
    Destroy(Pokrok);
    Destroy(Vyberdite);
    Destroy(vyslForm);
    Destroy(PasswordDlg1);
    Destroy(PasswordDlg);
    Destroy(manual);
    Destroy(hist);
    Destroy(AboutBox);
    Destroy(setpoc);
    Destroy(Form1);
}
