// The child process of the killed-save test: opens FILE and saves a new version
// of it with the Save command, over and over, saying "saved N" after each, until
// it is killed.   usage: save_until_killed FILE

#include "BrenvikApplication.h"
#include "BrenvikControl.h"
#include "MainForm.h"
#include "RichEdit2.h"
#include "SaveVersions.h"

#include <cstdio>

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    TBrenvikApplication application(argc, argv);
    if (argc != 2)
        return 2;
    TForm1 window;
    window.FormCreate(QString::fromLocal8Bit(argv[1]));
    for (int version = 1;; ++version) {
        window.Brenvik1->GetTextArea()->setPlainText(versionText(version));
        window.Brenvik1->SetModified(true);
        window.Save1->trigger();
        std::printf("saved %d\n", version);
        std::fflush(stdout);
    }
}
