#!/usr/bin/env python3
"""The online word sources as tools/screenshots.sh needs them on a machine without network: up,
and knowing no word. Serves on a free port of 127.0.0.1, prints that port, and runs until killed."""
import http.server
import time

# A real service answers after a while over the network, and so does this one: replies at once,
# landing while the result window is first shown by a window manager that has just started, now
# and then left that window in the screen's corner.
LATENCY_S = 0.5

READY = ('<soapenv:Envelope xmlns:soapenv="x"><soapenv:Body><ns1:pingResponse xmlns:ns1="urn:x">'
         '<pingReturn>Webservice &quot;Baseform&quot; is ready.</pingReturn></ns1:pingResponse>'
         '</soapenv:Body></soapenv:Envelope>')
NO_ROWS = ('<?xml version="1.0" encoding="utf-8"?><soapenv:Envelope xmlns:soapenv="x">'
           '<soapenv:Body><executeResponse><executeReturn><result></result></executeReturn>'
           '</executeResponse></soapenv:Body></soapenv:Envelope>')
NO_RESULTS = '<h3>Your search did not return any results.</h3>'


class Services(http.server.BaseHTTPRequestHandler):
    def reply(self, body, kind):
        time.sleep(LATENCY_S)
        data = body.encode()
        self.send_response(200)
        self.send_header('Content-Type', kind)
        self.send_header('Content-Length', str(len(data)))
        self.end_headers()
        self.wfile.write(data)

    def do_POST(self):
        request = self.rfile.read(int(self.headers.get('Content-Length', 0)))
        self.reply(READY if b'<ns1:ping' in request else NO_ROWS, 'text/xml; charset=utf-8')

    def do_GET(self):
        # The lexical database's no-results page, and an empty portal page.
        self.reply(NO_RESULTS if '/perl/webwn' in self.path else '<html></html>', 'text/html')

    def log_message(self, *_):
        pass


server = http.server.HTTPServer(('127.0.0.1', 0), Services)
print(server.server_port, flush=True)
server.serve_forever()
