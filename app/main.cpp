// masterdata MENUID USERID COMPANYDB IGNORED KEYWORD
//
// Started by the suite's menu, once per menu entry: opens the one maintenance window the
// keyword names for that company and user, and ends when it closes. The database server is
// named by the first line of Server.Dat in the working directory.

#include "app/ModuleHooks.h"
#include "app/Startup.h"
#include "errors/TApplication.h"

int main(int argc, char* argv[]) {
    md::errors::TApplication app(argc, argv);
    md::app::RegisterWindows();
    md::app::Startup startup(app);
    return startup.Run(app.arguments().mid(1));
}
