// A static file server on 127.0.0.1 for the page (make serve), its test
// and tools: serves one folder on a port the system picks, and says which
// on its first line. Also starts Debian's Chromium for them.
'use strict';
const http = require('http');
const path = require('path');
const serveStatic = require('serve-static');
const finalhandler = require('finalhandler');

// serve-static answers a malformed address 400 and a way out of the folder
// 403; without fallthrough those reach finalhandler as they are, not as 404.
// Production: its error page tells no stack.
function starten(ordner) {
  const dateien = serveStatic(ordner, { fallthrough: false });
  const server = http.createServer(function (anfrage, antwort) {
    dateien(anfrage, antwort, finalhandler(anfrage, antwort, { env: 'production' }));
  });
  return new Promise(function (fertig) {
    server.listen(0, '127.0.0.1', function () { fertig(server); });
  });
}

// Headless, without a sandbox (the tests may run as root); CHROMIUM names
// another browser.
function browser_starten(zusatz) {
  const puppeteer = require('puppeteer-core');
  return puppeteer.launch({
    executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true,
    args: ['--no-sandbox', ...(zusatz || [])],
  });
}

module.exports = { starten, browser_starten };

if (require.main === module) {
  starten(path.resolve(process.argv[2] || '.')).then(function (server) {
    console.log('borkwerk: the page is at http://127.0.0.1:' + server.address().port + '/ (Ctrl-C ends)');
  });
}
