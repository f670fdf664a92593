// The translator's window as a page that the program serves itself, on
// 127.0.0.1 only.
#pragma once

#include <iosfwd>

#include "app/cli/exit_codes.h"
#include "app/server/page_request.h"

class CTranslatorDlg;
namespace httplib {
struct Request;
}

// What the handler decides on, taken from the HTTP request: method, path,
// and the Host, Origin and Content-Type headers (empty when absent), body.
CPageRequest ToPageRequest(const httplib::Request& request);

// Serves the page over the set-up translator on 127.0.0.1 and the port (0:
// any free port): prints the page's address as the first line of output,
// then answers requests until SIGINT or SIGTERM. kExitTranslated after a
// clean stop; kExitFileError when the port cannot be bound.
ExitCode ServeTranslatorPage(CTranslatorDlg& translator, int port, std::ostream& output, std::ostream& errors);
