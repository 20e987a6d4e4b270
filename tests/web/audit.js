// Checks of a rendered page by tools nobody here wrote, and of its layout: axe-core's WCAG 2.1
// A and AA rules in the browser, html-validate's recommended rules on the HTML as served, and
// whether everything fits the width (no page wider than the window, nothing cut off inside a
// card, every scrollable region reachable by keyboard, no link of the bar alone on a line).
'use strict';
const fs = require('node:fs');
const { HtmlValidate } = require('html-validate');

const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');
const validator = new HtmlValidate({ extends: ['html-validate:recommended'] });
const WCAG = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa'];

// A browser context whose every document starts with axe-core loaded: the pages' policy allows
// no script, but scripts that the browser is told to add run all the same, and this way the
// engine is compiled once rather than at every page.
async function context(browser) {
  const made = await browser.newContext();
  await made.addInitScript({ content: axeSource });
  return made;
}

async function axeViolations(page) {
  const violations = await page.evaluate((tags) => window.axe.run(document,
    { runOnly: { type: 'tag', values: tags }, resultTypes: ['violations'] }), WCAG);
  return violations.violations.flatMap((v) => v.nodes.map((n) => `${v.id} at ${n.target.join(' ')}: ${n.failureSummary}`));
}

async function validatorMessages(html) {
  const report = await validator.validateString(html);
  return report.results.flatMap((r) => r.messages.map((m) => `${m.ruleId} at ${m.line}:${m.column}: ${m.message}`));
}

// Runs in the page: what does not fit, in words.
function layoutFaults() {
  const faults = [];
  const name = (e) => e.tagName.toLowerCase() + (e.className ? `.${String(e.className).split(' ').join('.')}` : '');
  const root = document.documentElement;
  if (root.scrollWidth > root.clientWidth) faults.push(`the page is ${root.scrollWidth}px wide in ${root.clientWidth}px`);
  for (const card of document.querySelectorAll('.card, .outbox tr, .bar')) {
    const box = card.getBoundingClientRect();
    for (const e of [card, ...card.querySelectorAll('*')]) {
      const r = e.getBoundingClientRect();
      if (r.width && (r.left < box.left - 0.5 || r.right > box.right + 0.5)) faults.push(`${name(e)} sticks out of ${name(card)}`);
      if (e.clientWidth && e.scrollWidth > e.clientWidth + 1) faults.push(`${name(e)} hides ${e.scrollWidth - e.clientWidth}px`);
    }
  }
  for (const e of document.querySelectorAll('body *')) {
    const overflow = getComputedStyle(e).overflowX;
    if (['auto', 'scroll'].includes(overflow) && e.scrollWidth > e.clientWidth && e.tabIndex < 0 &&
        !e.querySelector('a, button, input, select, [tabindex]')) faults.push(`${name(e)} scrolls but takes no focus`);
  }
  // A link or button of the bar shares its line with another item of the bar.
  const items = [...document.querySelectorAll('.bar a, .bar button, .bar .who')];
  for (const e of document.querySelectorAll('.bar nav a, .bar button')) {
    const r = e.getBoundingClientRect();
    const beside = items.some((o) => o !== e && o.getBoundingClientRect().top < r.bottom - 2 && o.getBoundingClientRect().bottom > r.top + 2);
    if (!beside) faults.push(`"${e.textContent}" is alone on its line`);
    if (r.height > 2.2 * parseFloat(getComputedStyle(e).lineHeight)) faults.push(`"${e.textContent}" wraps`);
  }
  return faults;
}

module.exports = { context, axeViolations, validatorMessages, layoutFaults };
