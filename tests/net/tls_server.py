# An HTTPS server for the download tests: serves one page on 127.0.0.1 with
# the certificate and key given, and prints its port on the first line.
import http.server
import ssl
import sys


class Page(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = b"secure page"
        self.send_response(200)
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)

    def log_message(self, *args):
        pass


server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), Page)
context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(sys.argv[1], sys.argv[2])
server.socket = context.wrap_socket(server.socket, server_side=True)
print(server.server_address[1], flush=True)
server.serve_forever()
