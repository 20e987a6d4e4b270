// The account web site in headless Chromium against the real service: the program's token
// links, every page, registration, buying, the anti-forgery tokens, escaping and throttling.
'use strict';
const assert = require('node:assert/strict');
const { test, before, after } = require('node:test');
const audit = require('./audit');
const site = require('./site');

const ALICE = ['alice', 'tea & <cakes>', '447700900123'];
let browser;

before(async () => {
  site.addAccount(...ALICE, 100);
  site.addAccount('bob', 'right-password', '447700900200', 5);
  for (let i = 1; i <= 20; i++) {  // with the one below, two pages of the outbox
    assert.equal(await site.submit(ALICE[0], ALICE[1], `filler ${i}`, '447700900999'), 0);
  }
  assert.equal(await site.submit(ALICE[0], ALICE[1], 'Home <script>window.owned=1</script>'), 0);
  browser = await site.launch();
});
after(() => browser?.close());

async function signedIn(startpage) {
  const page = await browser.newPage();
  const link = `${site.HTTP}/login?startpage=${startpage}&login=${site.loginToken(ALICE[0], ALICE[1])}`;
  const response = await page.goto(link);
  return { page, response };
}

test('the token link signs in and lands on the page without the token; each page shows its part', async () => {
  const { page, response } = await signedIn('message_archive.jsp');
  assert.equal(page.url(), `${site.HTTP}/message_archive.jsp`);
  assert.match(response.headers()['content-security-policy'], /default-src 'none'/);
  const rows = page.locator('table.outbox tbody tr');
  assert.equal(await rows.count(), 20);
  // Newest first: the message to the own phone, its <script> shown as text and never run.
  assert.deepEqual(await rows.first().locator('td').allInnerTexts(),
    [await rows.first().locator('.time').innerText(), 'own phone', '1',
      'Home <script>window.owned=1</script>']);
  assert.match(await rows.first().locator('.time').innerText(), /^\d{4}-\d\d-\d\d \d\d:\d\d UTC$/);
  assert.equal(await page.evaluate(() => window.owned), undefined);
  assert.deepEqual(await rows.nth(1).locator('td.to, td.text').allInnerTexts(), ['+447700900999', 'filler 20']);
  await page.getByRole('link', { name: /Older/ }).click();
  assert.deepEqual(await page.locator('table.outbox td.text').allInnerTexts(), ['filler 1']);
  assert.match(await page.locator('.pager').innerText(), /Page 2 of 2/);

  await page.goto(`${site.HTTP}/login?startpage=subscribe&login=${site.loginToken(ALICE[0], ALICE[1])}`);
  assert.equal(page.url(), `${site.HTTP}/subscribe`);
  const account = await page.locator('dl').innerText();
  for (const part of ['alice', '+447700900123', '79 message credits']) assert.ok(account.includes(part), account);
  await page.getByRole('button', { name: 'Activate here' }).click();
  assert.equal(page.url(), `${site.HTTP}/subscribe`);
  assert.match(await page.locator('.state').innerText(), /^Activated$/i);

  await page.goto(`${site.HTTP}/help.jsp`);
  assert.match(await page.locator('main').innerText(), /Ctrl\s*\+\s*Alt\s*\+\s*P/);

  // Only the site's own pages: anything else lands on the account page.
  await page.goto(`${site.HTTP}/login?startpage=https%3A%2F%2Fexample.org&login=${site.loginToken(ALICE[0], ALICE[1])}`);
  assert.equal(page.url(), `${site.HTTP}/subscribe`);

  await page.getByRole('button', { name: 'Sign out' }).click();
  assert.match(await page.locator('main').innerText(), /You have signed out/);
  await page.goto(`${site.HTTP}/message_archive.jsp`);
  assert.equal(await page.locator('input[name=password]').count(), 1, 'the session has ended');
  await page.close();
});

test('a wrong, damaged or missing token ends on the sign-in form without it, which signs in to the page asked for', async () => {
  const page = await browser.newPage();
  for (const token of [site.loginToken(ALICE[0], 'wrong'), 'XYZ', '']) {
    await page.goto(`${site.HTTP}/login?startpage=message_archive.jsp&login=${token}`);
    assert.equal(page.url(), `${site.HTTP}/login?startpage=message_archive.jsp&link=refused`, token);
    assert.match(await page.locator('.notice.error').innerText(), /The link could not sign you in/, token);
  }
  await page.fill('input[name=user]', ALICE[0]);
  await page.fill('input[name=password]', ALICE[1]);
  await page.getByRole('button', { name: 'Sign in' }).click();
  assert.equal(page.url(), `${site.HTTP}/message_archive.jsp`);
  await page.close();
});

test('Buy 625 adds 625 credits once, also when the confirmation is sent twice', async () => {
  const { page } = await signedIn('buymsgs.jsp%3Fn%3D625');
  assert.equal(page.url(), `${site.HTTP}/buymsgs.jsp?n=625`);
  assert.match(await page.locator('main').innerText(), /Payment is simulated/);
  const form = {
    csrf: await page.locator('form[method=post][action="/buymsgs.jsp"] [name=csrf]').inputValue(),
    purchase: await page.locator('[name=purchase]').inputValue(),
  };
  const credits = async () => Number(await page.locator('.credits').last().innerText());
  await page.getByRole('button', { name: 'Confirm: add 625 credits' }).click();
  const afterFirst = await credits();
  const again = await page.request.post(`${site.HTTP}/buymsgs.jsp`, { form });
  assert.match(await again.text(), /confirmed before: nothing was added again/);
  await page.goto(`${site.HTTP}/subscribe`);
  assert.equal(Number(await page.locator('.credits').innerText()), afterFirst);
  assert.equal(afterFirst, 100 + 625 - 21);  // 21 messages of one part were sent before
  await page.close();
});

test('a POST without the anti-forgery token is refused and changes nothing', async () => {
  const { page } = await signedIn('subscribe');
  for (const [path, form] of [['/buymsgs.jsp', { purchase: 'x' }], ['/logout', {}],
    ['/options.jsp', { user: 'forged', password: 'secret1', password2: 'secret1', phone: '07700900777' }]]) {
    const response = await page.request.post(`${site.HTTP}${path}`, { form, maxRedirects: 0 });
    assert.equal(response.status(), 403, path);
  }
  await page.reload();
  assert.equal(page.url(), `${site.HTTP}/subscribe`, 'still signed in');
  assert.equal(site.admin('messages').includes('forged'), false);
  await page.close();
});

test('registration makes the account, which POST /hotkeys then uses; a taken name is said plainly', async () => {
  const page = await browser.newPage();
  const register = async (user) => {
    await page.goto(`${site.HTTP}/options.jsp`);
    await page.fill('input[name=user]', user);
    await page.fill('input[name=password]', 'fresh pass 1');
    await page.fill('input[name=password2]', 'fresh pass 1');
    await page.fill('input[name=phone]', '07700 900555');
    await page.getByRole('button', { name: 'Create my account' }).click();
  };
  await register('alice');
  assert.match(await page.locator('.notice.error').innerText(), /user name alice is taken/);
  await register('newbie');
  assert.equal(page.url(), `${site.HTTP}/subscribe?welcome=1`);
  const account = await page.locator('dl').innerText();
  for (const part of ['newbie', '+447700900555', '10']) assert.ok(account.includes(part), account);
  assert.equal(await site.submit('newbie', 'fresh pass 1', 'first words'), 0);
  const last = site.storedMessages().at(-1);
  assert.deepEqual([last.username, last.destination, last.body], ['newbie', '447700900555', 'first words']);
  await page.close();
});

test('after 5 wrong passwords the account refuses even the right one, on the form and POST /hotkeys', async () => {
  const page = await browser.newPage();
  await page.goto(`${site.HTTP}/login`);
  const signIn = async (password) => {
    await page.fill('input[name=user]', 'bob');
    await page.fill('input[name=password]', password);
    await page.getByRole('button', { name: 'Sign in' }).click();
    return page.locator('.notice.error').innerText();
  };
  for (let i = 0; i < 5; i++) assert.match(await signIn(`wrong ${i}`), /Wrong user name or password/);
  assert.match(await signIn('right-password'), /Too many wrong passwords/);
  assert.equal(await site.submit('bob', 'right-password', 'hello'), 6);
  // The token link of a throttled account is refused too, and its address leaves the bar.
  await page.goto(`${site.HTTP}/login?startpage=subscribe&login=${site.loginToken('bob', 'right-password')}`);
  assert.equal(page.url(), `${site.HTTP}/login?startpage=subscribe&link=throttled`);
  assert.match(await page.locator('.notice.error').innerText(), /Too many wrong passwords/);
  await page.close();
});

test('over HTTPS the session cookie is Secure with the __Host- prefix', async () => {
  const context = await browser.newContext({ ignoreHTTPSErrors: true });
  const page = await context.newPage();
  await page.goto(`${site.HTTPS}/login?startpage=subscribe&login=${site.loginToken(ALICE[0], ALICE[1])}`);
  assert.equal(page.url(), `${site.HTTPS}/subscribe`);
  const session = (await context.cookies()).find((c) => c.name === '__Host-lumora_session');
  assert.deepEqual([session.secure, session.httpOnly, session.sameSite], [true, true, 'Lax']);
  assert.ok(session.expires > Date.now() / 1000);
  await context.close();
});

test('every answer says which methods a page takes; pages carry the security headers; HTTPS adds HSTS', async () => {
  const PAGE_HEADERS = ['content-security-policy', 'cache-control', 'x-content-type-options', 'x-frame-options', 'referrer-policy'];
  for (const [method, path, status, allow] of [
    ['GET', '/login', 200], ['GET', '/no/such/page', 404], ['TRACE', '/no/such/page', 404],
    ['PUT', '/login', 405, 'GET, HEAD, POST'], ['TRACE', '/login', 405, 'GET, HEAD, POST'],
    ['GET', '/hotkeys', 405, 'POST'], ['DELETE', '/style.css', 405, 'GET, HEAD'],
    ['POST', '/subscribe', 403], ['GET', '/style.css', 200], ['POST', '/hotkeys', 200],
  ]) {
    for (const scheme of ['http', 'https']) {
      const answer = await site.request(scheme, method, path);
      const what = `${scheme} ${method} ${path}`;
      assert.equal(answer.status, status, what);
      assert.equal(answer.headers.allow, allow, what);
      assert.equal(answer.headers['strict-transport-security'], scheme === 'https' ? 'max-age=31536000' : undefined, what);
      if (!answer.headers['content-type'].startsWith('text/html')) continue;
      for (const header of PAGE_HEADERS) assert.ok(answer.headers[header], `${what}: ${header}`);
      assert.match(answer.body, /^<!DOCTYPE html><html lang="en">.*<a [^>]*href="\/subscribe"/s, what);
    }
  }
});

// Every state of every page, reached as a visitor would, at four widths: axe-core (WCAG 2.1 A
// and AA), html-validate on the HTML as served, and the layout checks of audit.js. With
// BREVIO_WEB_SHOTS set to a folder, a full-page screenshot of each state at 320 px goes there.
test('every page state passes WCAG 2.1 AA and html-validate and fits 320 to 1280 px', async () => {
  const WIDTHS = [320, 375, 768, 1280];
  const NOTE = 'Running 10 min late: the 17:42 from Leeds is held at York. Table at Rosa\'s is booked under ' +
    'Brevio for 8, start without me and order the mezze! Back by 21:30, xx';
  assert.equal(NOTE.length, 160);
  site.addAccount('erin', 'erin pass', '447700900300', 40);
  site.addAccount('frank', 'frank pass', '447700900301', 5);
  site.addAccount('gina', 'gina pass', '447700900302', 5);
  const sql = (statement) => require('node:child_process').execFileSync('sqlite3', [process.env.BREVIO_WEB_DB, statement]);
  sql(`WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 20) INSERT INTO messages
    (account, destination, body, parts, created) SELECT (SELECT id FROM accounts WHERE username = 'erin'),
    '447700900300', 'note ' || i, 1, '2024-05-01T12:00:00Z' FROM n`);  // filler, quicker than sent
  assert.equal(await site.submit('erin', 'erin pass', NOTE, '447700900456'), 0);
  const link = (user, password, startpage = 'subscribe') =>
    `/login?startpage=${startpage}&login=${site.loginToken(user, password)}`;
  const go = async (page, path, change) => {  // change: another method or body for this request
    if (change) await page.route(site.HTTP + path, (route) => route.continue(change), { times: 1 });
    return page.goto(site.HTTP + path);
  };
  const click = (name) => (page) => page.getByRole('button', { name }).click();
  const without = async (table, action) => {  // the service fails while a table is missing
    sql(`ALTER TABLE ${table} RENAME TO ${table}_away`);
    try { await action(); } finally { sql(`ALTER TABLE ${table}_away RENAME TO ${table}`); }
  };
  const pages = {}, served = new Map();  // each visitor's page, and the last document it was served
  for (const [who, signIn] of [['out'], ['erin', link('erin', 'erin pass')], ['gina', link('gina', 'gina pass')]]) {
    const page = pages[who] = await (await audit.context(browser)).newPage();
    page.on('response', (r) => { if (r.request().isNavigationRequest() && !r.headers().location) served.set(page, r); });
    if (signIn) await go(page, signIn);
  }
  // [state, visitor, how to reach it, what its main part says]
  const STATES = [
    ['signin', 'out', (p) => go(p, '/login'), /User name/],
    ['signed-out', 'out', (p) => go(p, '/login?signedout=1'), /You have signed out/],
    ['wrong-password', 'out', async (p) => {
      await p.fill('input[name=user]', 'frank'); await p.fill('input[name=password]', 'nope'); await click('Sign in')(p);
    }, /Wrong user name or password/],
    ['link-refused', 'out', (p) => go(p, link('erin', 'wrong', 'message_archive.jsp')), /The link could not sign you in/],
    ['link-throttled', 'out', async (p) => {
      for (let i = 0; i < 5; i++) await go(p, link('frank', `wrong ${i}`));
      await go(p, link('frank', 'frank pass'));
    }, /Too many wrong passwords/],
    ['register', 'out', (p) => go(p, '/options.jsp'), /free credits/],
    ['register-refused', 'out', async (p) => {
      for (const [field, value] of [['user', 'erin'], ['password', 'secret1'], ['password2', 'secret1'], ['phone', '07700 900777']]) {
        await p.fill(`input[name=${field}]`, value);
      }
      await click('Create my account')(p);
    }, /user name erin is taken/],
    ['help-out', 'out', (p) => go(p, '/help.jsp'), /Send in two keys/],
    ['404-out', 'out', (p) => go(p, '/no/such/page'), /no page at this address/],
    ['405-out', 'out', (p) => go(p, '/hotkeys'), /does not take this kind of request/],
    ['403-out', 'out', (p) => go(p, '/options.jsp', { method: 'POST', postData: 'user=x' }), /did not come from this site/],
    ['account', 'erin', (p) => go(p, '/subscribe?welcome=1'), /Welcome to Lumora/],
    ['account-activated', 'erin', click('Activate here'), /Activated/],
    ['buy', 'erin', (p) => go(p, '/buymsgs.jsp?n=625'), /Payment is simulated/],
    ['buy-done', 'erin', click('Confirm: add 625 credits'), /625 credits added/],
    ['buy-refused', 'erin', (p) => go(p, '/buymsgs.jsp?n=7'), /from 50 to 5000/],
    ['outbox', 'erin', (p) => go(p, '/message_archive.jsp'), /\+447700900456/],
    ['outbox-older', 'erin', (p) => go(p, '/message_archive.jsp?page=2'), /Page 2 of 2/],
    ['outbox-empty', 'gina', (p) => go(p, '/message_archive.jsp'), /No messages yet/],
    ['help-in', 'erin', (p) => go(p, '/help.jsp'), /Send in two keys/],
    ['404-in', 'erin', (p) => go(p, '/style.css/nothing'), /no page at this address/],
    ['405-in', 'erin', (p) => go(p, '/login', { method: 'PUT' }), /does not take this kind of request/],
    ['403-in', 'erin', (p) => go(p, '/subscribe', { method: 'POST', postData: '' }), /did not come from this site/],
    ['500-in', 'erin', (p) => without('purchases', () => go(p, '/buymsgs.jsp?n=50')), /cannot answer right now/],
    ['500-visitor-unknown', 'erin', (p) => without('sessions', () => go(p, '/help.jsp')), /cannot answer right now/],
  ];
  const faults = [];
  let views = 0, violations = 0, messages = 0;
  for (const [state, who, reach, says] of STATES) {
    const page = pages[who];
    await reach(page);
    await page.waitForLoadState();
    const html = await served.get(page).text();
    if (!says.test(await page.locator('main').innerText().catch(() => ''))) faults.push(`${state}: does not say ${says}`);
    if (page.url().includes('login=')) faults.push(`${state}: the token stays in the address ${page.url()}`);
    const validation = await audit.validatorMessages(html);
    messages += validation.length;
    faults.push(...validation.map((m) => `${state}: ${m}`));
    for (const width of WIDTHS) {
      await page.setViewportSize({ width, height: 740 });
      const axe = await audit.axeViolations(page);
      violations += axe.length;
      faults.push(...[...axe, ...(await page.evaluate(audit.layoutFaults))].map((f) => `${state} at ${width}px: ${f}`));
      if (width === 320 && process.env.BREVIO_WEB_SHOTS) {
        await page.screenshot({ path: `${process.env.BREVIO_WEB_SHOTS}/${state}-320.png`, fullPage: true });
      }
      views++;
    }
  }
  console.log(`audit: ${STATES.length} page states x ${WIDTHS.length} widths = ${views} views; ` +
    `${violations} axe violations; ${messages} html-validate messages; ${faults.length} faults in all`);
  assert.deepEqual(faults, []);
});
