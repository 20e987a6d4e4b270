// Screenshots of every page for docs/, on a desktop and a phone-sized viewport:
//   web-run LUMORA_SERVICE tests/web/screenshots.js OUT_DIR
'use strict';
const path = require('node:path');
const site = require('./site');

const pages = [
  ['signin', '/login'], ['register', '/options.jsp'], ['account', null, 'subscribe'],
  ['buy', null, 'buymsgs.jsp%3Fn%3D625'], ['outbox', null, 'message_archive.jsp'], ['help', '/help.jsp'],
];
const viewports = { desktop: { width: 1280, height: 800 }, phone: { width: 390, height: 844 } };

(async () => {
  const out = process.argv[2];
  site.addAccount('demo', 'demo', '447700900123', 500);
  await site.submit('demo', 'demo', 'Running late - see you at the station at 7.');
  await site.submit('demo', 'demo', 'Pick up: milk, bread, <b>eggs</b> & tea', '447700900456');
  await site.submit('demo', 'demo', 'Meeting moved to Thursday 10:00, room 4.12. '.repeat(4));
  const browser = await site.launch();
  for (const [name, size] of Object.entries(viewports)) {
    const page = await browser.newPage({ viewport: size });
    for (const [file, address, startpage] of pages) {
      await page.goto(site.HTTP + (address ||
        `/login?startpage=${startpage}&login=${site.loginToken('demo', 'demo')}`));
      await page.screenshot({ path: path.join(out, `web-${file}-${name}.png`), fullPage: true });
      if (file === 'help') await page.context().clearCookies();
    }
    await page.close();
  }
  await browser.close();
})().catch((error) => { console.error(error); process.exit(1); });
