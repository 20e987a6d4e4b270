// Opens one address in headless Chromium and prints, as JSON, the address it ends on and the
// cells of the outbox's newest row:  node open_page.js ADDRESS
'use strict';
const site = require('./site');

(async () => {
  const browser = await site.launch();
  const page = await browser.newPage();
  await page.goto(process.argv[2]);
  const cells = await page.locator('table.outbox tbody tr').first().locator('td').allInnerTexts();
  console.log(JSON.stringify({ url: page.url(), cells }));
  await browser.close();
})().catch((error) => { console.error(error); process.exit(1); });
