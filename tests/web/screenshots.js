// Screenshots of every page for docs/, on a desktop and on the narrowest phone (320 px):
//   web-run LUMORA_SERVICE tests/web/screenshots.js OUT_DIR
'use strict';
const path = require('node:path');
const site = require('./site');

const pages = [
  ['signin', '/login'], ['register', '/options.jsp'], ['account', null, 'subscribe'],
  ['buy', null, 'buymsgs.jsp%3Fn%3D625'], ['outbox', null, 'message_archive.jsp'], ['help', '/help.jsp'],
];
const viewports = { desktop: { width: 1280, height: 800 }, phone: { width: 320, height: 740 } };

(async () => {
  const out = process.argv[2];
  site.addAccount('demo', 'demo', '447700900123', 500);
  await site.submit('demo', 'demo', 'Running late - see you at the station at 7.');
  await site.submit('demo', 'demo', 'Pick up: milk, bread, <b>eggs</b> & tea', '447700900456');
  await site.submit('demo', 'demo', 'Meeting moved to Thursday 10:00, room 4.12. '.repeat(4));
  await site.submit('demo', 'demo', 'Running 10 min late: the 17:42 from Leeds is held at York. Table at ' +
    'Rosa\'s is booked under Brevio for 8, start without me and order the mezze! Back by 21:30, xx', '447700900789');
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
