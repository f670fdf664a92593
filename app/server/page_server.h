// The translator's window as a page that the program serves itself, on
// 127.0.0.1 only.
#pragma once

#include <iosfwd>

#include "app/engine/exit_codes.h"
#include "app/server/page_request.h"

class CListeningSocket;
class CTranslatorDlg;
// Serves the page over the set-up translator on the bound socket: prints
// the page's address as the first line of output, then answers requests
// until SIGINT or SIGTERM, which end it within two seconds whatever the
// clients do (a translation still running then is abandoned with the
// process). kExitTranslated after a stop by signal; kExitFileError when
// serving fails.
ExitCode ServeTranslatorPage(CTranslatorDlg& translator, const CListeningSocket& listener, std::ostream& output,
                             std::ostream& errors);
