// Shared by the browser scripts: the service's admin commands, requests made the way Brevio
// makes them, its login token, and Debian's Chromium driven by playwright-core.
'use strict';
const crypto = require('node:crypto');
const fs = require('node:fs');
const http = require('node:http');
const https = require('node:https');
const path = require('node:path');
const { execFileSync } = require('node:child_process');
const { chromium } = require('playwright-core');

const HTTP = 'http://localhost';
const HTTPS = 'https://localhost';

function admin(...args) {
  return execFileSync(process.env.BREVIO_WEB_SERVICE, [args[0], '--db', process.env.BREVIO_WEB_DB,
    ...args.slice(1)], { encoding: 'utf8' });
}

function addAccount(user, password, phone, credits) {
  admin('add-account', '--user', user, '--password', password, '--phone', phone,
    '--credits', String(credits));
}

function storedMessages() { return JSON.parse(admin('messages')); }

// The program's token: "user password" in Windows-1252 (ASCII here), each byte XOR (11 + its
// index), in uppercase hexadecimal without leading zeros.
function loginToken(user, password) {
  return [...Buffer.from(`${user} ${password}`, 'latin1')]
    .map((b, i) => (b ^ (11 + i)).toString(16).toUpperCase()).join('');
}

// POST /hotkeys as the program sends it; resolves to the reply's ResultCode.
async function submit(user, password, body, destination = '') {
  const xmlText = (t) => t.replace(/&/g, '&amp;').replace(/</g, '&lt;').replace(/>/g, '&gt;');
  const xml = `<?xml version="1.0"?><SubmitMessageRequest Version="1.0"><Header><Username>` +
    `${xmlText(user)}</Username><Password>${xmlText(password)}</Password></Header><MessageRequest><Message><Body>` +
    `<![CDATA[${body}]]></Body><Destination sequenceId="1">${destination}</Destination>` +
    '</Message></MessageRequest></SubmitMessageRequest>';
  const { body: reply } = await request('http', 'POST', '/hotkeys', `\r\n\r\n&XMLDATA=${encodeURIComponent(xml)}`,
    { 'Content-Type': 'application/x-www-form-urlencoded' });
  return Number(/<ResultCode>(\d+)<\/ResultCode>/.exec(reply)?.[1]);
}

// One request as it is, any method (TRACE too, which fetch refuses), over http or https (trusting
// the namespace's test authority), on a connection of its own: a kept-alive one may have been
// closed by the front proxy while the admin commands blocked node's loop. Resolves to
// { status, headers, body }.
function request(scheme, method, address, body = undefined, headers = {}) {
  const ca = scheme === 'https' ? fs.readFileSync(path.join(path.dirname(process.env.BREVIO_WEB_DB), 'ca.pem')) : undefined;
  return new Promise((resolve, reject) => {
    const out = (scheme === 'https' ? https : http).request(`${scheme}://localhost${address}`, { method, ca, headers, agent: false }, (answer) => {
      let text = '';
      answer.setEncoding('utf8').on('data', (part) => { text += part; });
      answer.on('end', () => resolve({ status: answer.statusCode, headers: answer.headers, body: text }));
    });
    out.on('error', reject).end(body);
  });
}

// BREVIO_TRUST_CERT names a test server's certificate (PEM) that Chromium is to accept: its own
// store does not hold the throwaway test authority, so the server's key is trusted by its hash.
function trustArgs() {
  const pem = process.env.BREVIO_TRUST_CERT;
  if (!pem) return [];
  const spki = new crypto.X509Certificate(fs.readFileSync(pem)).publicKey.export({ type: 'spki', format: 'der' });
  return [`--ignore-certificate-errors-spki-list=${crypto.createHash('sha256').update(spki).digest('base64')}`];
}

function launch() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', '--no-first-run', ...trustArgs()],
  });
}

module.exports = { HTTP, HTTPS, admin, addAccount, storedMessages, loginToken, submit, request, launch };
