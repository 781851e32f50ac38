#include "BrenvikApplication.h"
#include "ErrorReport.h"
#include "MainForm.h"

int main(int argc, char** argv) {
    TBrenvikApplication application(argc, argv);
    try {
        TForm1 window;
        window.show();
        window.FormCreate(application.arguments().value(1));
        return application.exec();
    } catch (const std::exception& error) { // the windows could not be built
        showErrorReport(QString::fromStdString(error.what()));
        return 1;
    }
}
