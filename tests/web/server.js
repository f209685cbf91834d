// A static file server on 127.0.0.1 for the page (make serve), its test
// and tools: serves one folder on a port the system picks, and says which
// on its first line. Also starts Debian's Chromium for them.
'use strict';
const http = require('http');
const fs = require('fs');
const path = require('path');

const arten = { '.html': 'text/html', '.js': 'text/javascript', '.wasm': 'application/wasm' };

function starten(ordner) {
  const server = http.createServer(function (anfrage, antwort) {
    const name = decodeURIComponent(new URL(anfrage.url, 'http://x').pathname);
    const datei = path.join(ordner, name === '/' ? 'index.html' : path.normalize(name));
    if (!datei.startsWith(ordner)) {
      antwort.writeHead(403).end();
      return;
    }
    fs.readFile(datei, function (fehler, inhalt) {
      if (fehler) {
        antwort.writeHead(404).end();
        return;
      }
      antwort.writeHead(200, { 'Content-Type': arten[path.extname(datei)] || 'application/octet-stream' });
      antwort.end(inhalt);
    });
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
