// The account web site in headless Chromium against the real service: the program's token
// links, every page, registration, buying, the anti-forgery tokens, escaping and throttling.
'use strict';
const assert = require('node:assert/strict');
const { test, before, after } = require('node:test');
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

test('a wrong, damaged or missing token shows the sign-in form, which signs in to the page asked for', async () => {
  const page = await browser.newPage();
  for (const token of [site.loginToken(ALICE[0], 'wrong'), 'XYZ', '']) {
    await page.goto(`${site.HTTP}/login?startpage=message_archive.jsp&login=${token}`);
    assert.equal(await page.locator('form input[name=password]').count(), 1, token);
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
