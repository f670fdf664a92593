// The translator's page in a real browser: Debian's chromium, headless,
// driven by playwright-core. The server runs on a copy of the data root; what
// the page shows is compared with what the command line prints for the same
// sentence, so the test stays true as the translations improve.
//
// Environment: TRANSLATOR (the program), DATA_ROOT (the data root to copy),
// OUTPUT_DIR (where the screenshot goes), CHROMIUM (default /usr/bin/chromium).
import { after, before, test } from 'node:test';
import assert from 'node:assert/strict';
import { execFile, spawn } from 'node:child_process';
import fs from 'node:fs';
import net from 'node:net';
import os from 'node:os';
import path from 'node:path';
import { promisify } from 'node:util';
import { chromium } from 'playwright-core';

const translator = process.env.TRANSLATOR;
const dataRootSource = process.env.DATA_ROOT;
const outputDir = process.env.OUTPUT_DIR ?? os.tmpdir();
const chromiumPath = process.env.CHROMIUM ?? '/usr/bin/chromium';

const SAMPLE = 'I gave him a book';
const UNPARSED = 'book gave the';
const MARKUP = '<img src=x onerror=alert(1)>';
// "Translate / " and "translate" in Urdu letters, then a blank.
const TRANSLATE_CAPTION = 'Translate / \u062A\u0631\u062C\u0645\u06C1 \u06A9\u0631\u06CC\u06BA ';
const URDU_FONT = 'Noto Nastaliq Urdu';

// Files a run writes into a data root; a copy leaves them out.
const RUN_OUTPUT = new Set(['LogFile.Log', 'CStructures.xml', 'FStructures.xml', 'LFGParserCStructures.xml',
  '.translator.lock']);

function copyDataRoot() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'page-data-root-'));
  fs.cpSync(dataRootSource, folder, { recursive: true, filter: (file) => !RUN_OUTPUT.has(path.basename(file)) });
  return folder;
}

// What the command line prints for a sentence: its output line and, with
// --trees, both trees after the messages on standard error.
async function commandLine(dataRoot, sentence) {
  const run = promisify(execFile);
  try {
    const { stdout, stderr } = await run(translator, ['--data-root', dataRoot, '--trees', sentence]);
    return { output: stdout.replace(/\n$/, ''), errors: stderr };
  } catch (failure) {
    // Exit 1: some segment not translated; the line holds the rewritten words.
    assert.equal(failure.code, 1, `translator failed: ${failure.stderr}`);
    return { output: failure.stdout.replace(/\n$/, ''), errors: failure.stderr };
  }
}

function startServer(dataRoot, port = 0) {
  const server = spawn(translator, ['--data-root', dataRoot, '--serve', '--port', String(port)],
    { stdio: ['ignore', 'pipe', 'pipe'] });
  server.errors = '';
  server.stderr.on('data', (chunk) => { server.errors += chunk; });
  server.exited = new Promise((resolve) => server.on('exit', (code, signal) => resolve({ code, signal })));
  server.address = new Promise((resolve, reject) => {
    let text = '';
    server.stdout.on('data', (chunk) => {
      text += chunk;
      if (text.includes('\n')) resolve(text.split('\n')[0]);
    });
    server.on('exit', (code) => reject(new Error(`translator exited ${code} before serving: ${server.errors}`)));
  });
  return server;
}

let dataRoot;
let server;
let address;
let userDataDir;
let context;
let page;
let cdp;
const expected = {};

before(async () => {
  assert.ok(translator && dataRootSource, 'TRANSLATOR and DATA_ROOT must be set');
  dataRoot = copyDataRoot();
  for (const sentence of [SAMPLE, UNPARSED, MARKUP]) expected[sentence] = await commandLine(dataRoot, sentence);
  server = startServer(dataRoot);
  address = await server.address;
  userDataDir = fs.mkdtempSync(path.join(os.tmpdir(), 'page-browser-'));
  context = await chromium.launchPersistentContext(userDataDir, {
    executablePath: chromiumPath,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--no-first-run'],
    viewport: { width: 1200, height: 1000 },
  });
  page = context.pages()[0] ?? await context.newPage();
  // The sanitizer build translates slowly while other tests run beside it.
  page.setDefaultTimeout(120_000);
  page.on('dialog', (dialog) => {
    page.scriptDialogs = (page.scriptDialogs ?? 0) + 1;
    dialog.dismiss();
  });
  cdp = await context.newCDPSession(page);
  await page.goto(address);
  await page.waitForSelector('body[data-ready="true"]');
});

after(async () => {
  await context?.close();
  if (server && server.exitCode === null) server.kill('SIGKILL');
  for (const folder of [dataRoot, userDataDir]) if (folder) fs.rmSync(folder, { recursive: true, force: true });
});

// A tree as the command line prints it: one line per item, two blanks per level.
async function treeText(id) {
  return page.$eval(`#${id}`, (tree) => {
    const lines = [];
    const walk = (list, depth) => {
      for (const item of list.children) {
        const summary = item.querySelector(':scope > details > summary');
        const leaf = item.querySelector(':scope > span');
        lines.push('  '.repeat(depth) + (summary ?? leaf).textContent);
        const children = item.querySelector(':scope > details > ul');
        if (children) walk(children, depth + 1);
      }
    };
    const top = tree.querySelector(':scope > ul');
    if (top) walk(top, 0);
    return lines.map((line) => `${line}\n`).join('');
  });
}

async function translateWith(action) {
  await action();
  await page.waitForFunction(() => {
    const button = document.getElementById('translate');
    return !button.disabled && document.getElementById('output').value !== '';
  });
}

async function typeSentence(sentence) {
  await page.click('#clear');
  await page.fill('#sentence', sentence);
}

// The fonts that drew the glyphs of the output box's text, as the browser
// reports them (the text sits in the text area's inner editor).
async function outputFonts() {
  const { root } = await cdp.send('DOM.getDocument', { depth: -1, pierce: true });
  const { nodeId } = await cdp.send('DOM.querySelector', { nodeId: root.nodeId, selector: '#output' });
  const { node } = await cdp.send('DOM.describeNode', { nodeId, depth: -1, pierce: true });
  const editor = node.shadowRoots?.[0]?.children?.[0];
  assert.ok(editor, 'the output box has an inner editor');
  const { nodeIds } = await cdp.send('DOM.pushNodesByBackendIdsToFrontend', { backendNodeIds: [editor.backendNodeId] });
  const { fonts } = await cdp.send('CSS.getPlatformFontsForNode', { nodeId: nodeIds[0] });
  return fonts;
}

test('the page shows the window title, the captions and the sample sentence', async () => {
  const response = await page.reload();
  await page.waitForSelector('body[data-ready="true"]');
  assert.match(response.headers()['content-security-policy'], /^default-src 'none'; script-src 'self';/);
  assert.equal(await page.title(), '\u0679\u0627\u0631\u0646\u0648\u06A9 Tarnwick');
  assert.equal(await page.inputValue('#sentence'), SAMPLE);
  assert.equal(await page.evaluate(() => document.activeElement.id), 'sentence');
  const caption = await page.$eval('#translate', (button) => button.textContent);
  assert.deepEqual([...caption].map((c) => c.codePointAt(0)), [...TRANSLATE_CAPTION].map((c) => c.codePointAt(0)));
});

test('Translate shows the Urdu right to left in Nastaliq and both trees', async () => {
  await cdp.send('DOM.enable');
  await cdp.send('CSS.enable');
  await translateWith(() => page.click('#translate'));
  assert.equal(await page.inputValue('#output'), expected[SAMPLE].output);
  const style = await page.$eval('#output', (box) => {
    const computed = getComputedStyle(box);
    return { direction: computed.direction, textAlign: computed.textAlign };
  });
  assert.equal(style.direction, 'rtl');
  assert.equal(style.textAlign, 'right');
  const fonts = await outputFonts();
  assert.ok(fonts.length > 0);
  for (const font of fonts) assert.equal(font.familyName, URDU_FONT);

  const source = await treeText('source-tree');
  const target = await treeText('target-tree');
  assert.match(source, /^Source F-Structure # 1\b/);
  assert.match(target, /^Target F-Structure Group # 1\b/);
  assert.equal(source + target, expected[SAMPLE].errors);
  await page.screenshot({ path: path.join(outputDir, 'page-translated.png'), fullPage: true });
});

test('Clear empties the sentence, the output and both trees and focuses the sentence box', async () => {
  await page.click('#clear');
  assert.equal(await page.inputValue('#sentence'), '');
  assert.equal(await page.inputValue('#output'), '');
  assert.equal(await treeText('source-tree'), '');
  assert.equal(await treeText('target-tree'), '');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'sentence');
});

test('Enter in the sentence box translates, with Translate disabled meanwhile', async () => {
  await typeSentence(SAMPLE);
  const disabledWhileRunning = [];
  await page.route('**/translate', async (route) => {
    disabledWhileRunning.push(await page.isDisabled('#translate'));
    await route.continue();
  });
  try {
    await translateWith(() => page.press('#sentence', 'Enter'));
  } finally {
    await page.unroute('**/translate');
  }
  assert.deepEqual(disabledWhileRunning, [true]);
  assert.equal(await page.inputValue('#output'), expected[SAMPLE].output);
  assert.equal(await treeText('source-tree') + await treeText('target-tree'), expected[SAMPLE].errors);
});

test('an empty sentence asks for one and keeps the focus in the sentence box', async () => {
  await page.click('#clear');
  await page.click('#translate');
  await page.waitForSelector('#messages li');
  assert.deepEqual(await page.$$eval('#messages li', (items) => items.map((item) => item.textContent)),
    ["Quillet: Please Enter the Sentence and then press 'Map' Button."]);
  assert.equal(await page.inputValue('#output'), '');
  assert.equal(await page.evaluate(() => document.activeElement.id), 'sentence');
});

// The lines an XML text shows as an indented tree, each with its depth: an
// element holding only text is one line, any other its start tag, its
// children one level further in, and its end tag.
function expectedXmlLines(xml) {
  const tokens = xml.match(/<[^>]+>|[^<]+/g);
  const lines = [];
  let depth = 0;
  for (let i = 0; i < tokens.length; ++i) {
    const [token, next, after] = [tokens[i], tokens[i + 1] ?? '', tokens[i + 2] ?? ''];
    if (token.startsWith('</')) {
      lines.push({ depth: --depth, text: token });
    } else if (!token.startsWith('<')) {
      lines.push({ depth, text: token });
    } else if (next.startsWith('</')) {
      lines.push({ depth, text: token + next });
      i += 1;
    } else if (!next.startsWith('<') && after.startsWith('</')) {
      lines.push({ depth, text: token + next + after });
      i += 2;
    } else {
      lines.push({ depth: depth++, text: token });
    }
  }
  return lines;
}

test('the ticked box shows each segment\'s C-structures as an indented tree of categories and words', async () => {
  await typeSentence(SAMPLE);
  await page.check('#show-cstructure');
  const answer = page.waitForResponse('**/translate');
  await translateWith(() => page.click('#translate'));
  const result = await (await answer).json();
  const panels = await page.$$eval('#cstructures .cstructure', (sections) => sections.map((section) => ({
    segment: section.dataset.segment,
    raw: section.querySelectorAll('pre').length,
    lines: [...section.querySelectorAll('.xml-tree .xml-line')].map((line) => {
      let depth = 0;
      for (let list = line.closest('ul'); !list.classList.contains('xml-tree'); list = list.parentElement.closest('ul')) {
        depth += 1;
      }
      return { depth, text: line.textContent, indent: line.getBoundingClientRect().left };
    }),
  })));
  assert.equal(panels.length, result.cStructures.length);
  assert.equal(panels[0].segment, '1');
  assert.equal(panels[0].raw, 0, 'no raw block of XML');
  const xml = result.cStructures[0].xml;
  assert.match(xml, /^<C-Structures>/);
  const lines = panels[0].lines;
  assert.deepEqual(lines.map(({ depth, text }) => ({ depth, text })), expectedXmlLines(xml));
  // The words (as the lexicon has them) are leaves under their categories,
  // deeper than the C-structure they belong to, and deeper lines stand
  // further right.
  for (const word of ['I', 'a', 'book']) {
    const leaf = lines.find((line) => new RegExp(`^<[^>]+>${word}</[^>]+>$`).test(line.text));
    assert.ok(leaf && leaf.depth > 2, `${word} in ${lines.map((line) => line.text).join(' ')}`);
  }
  for (let i = 1; i < lines.length; ++i) {
    if (lines[i].depth > lines[i - 1].depth) assert.ok(lines[i].indent > lines[i - 1].indent, lines[i].text);
  }
  await page.locator('#cstructures').screenshot({ path: path.join(outputDir, 'page-cstructure.png') });
  await page.uncheck('#show-cstructure');
});

// The fonts that drew the text of each element the selector finds. On a
// loaded machine the browser may not have laid out the new tree yet (an
// element not yet drawn reports no font), so this asks again, after the next
// frames, until every element has been drawn or five seconds have passed.
async function fontsOf(selector) {
  for (let attempt = 0; ; ++attempt) {
    await page.evaluate(() => new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve))));
    const { root } = await cdp.send('DOM.getDocument', { depth: -1 });
    const { nodeIds } = await cdp.send('DOM.querySelectorAll', { nodeId: root.nodeId, selector });
    const fonts = [];
    for (const nodeId of nodeIds) fonts.push((await cdp.send('CSS.getPlatformFontsForNode', { nodeId })).fonts);
    if (fonts.every((drawn) => drawn.length > 0) || attempt === 50) return fonts;
    await page.waitForTimeout(100);
  }
}

test('the Urdu values of both trees are in Nastaliq, on lines as evenly spaced as the others', async () => {
  await typeSentence(SAMPLE);
  await translateWith(() => page.click('#translate'));
  const urduFonts = await fontsOf('.tree [lang="ur"]');
  assert.ok(urduFonts.length > 0, 'the target tree shows Urdu');
  for (const fonts of urduFonts) {
    assert.ok(fonts.length > 0);
    for (const font of fonts) assert.equal(font.familyName, URDU_FONT);
  }
  const rows = await page.$$eval('.tree summary, .tree li > span', (lines) => lines.map((line) => ({
    height: (line.tagName === 'SUMMARY' ? line : line.parentElement).getBoundingClientRect().height,
    urdu: line.querySelector('[lang="ur"]') !== null,
    text: line.textContent,
  })));
  assert.ok(rows.some((row) => row.urdu) && rows.some((row) => !row.urdu));
  const heights = new Set(rows.map((row) => row.height));
  assert.equal(heights.size, 1, JSON.stringify(rows.filter((row) => row.height !== rows[0].height)));
});

// What matters at a width: nothing wider than the window, the trees side by
// side or stacked, the sentence box and the buttons inside the window.
async function layoutAt(width) {
  await page.setViewportSize({ width, height: 1000 });
  return page.evaluate(() => {
    const box = (id) => document.getElementById(id).getBoundingClientRect();
    const [source, target] = [box('source-tree'), box('target-tree')];
    const inside = ['sentence', 'translate', 'clear', 'output', 'source-tree', 'target-tree']
      .filter((id) => box(id).left < 0 || box(id).right > window.innerWidth);
    return {
      pageWidth: document.documentElement.scrollWidth,
      windowWidth: window.innerWidth,
      sideBySide: Math.abs(source.top - target.top) < 1 && source.right <= target.left,
      stacked: source.bottom <= target.top,
      treeWidth: Math.min(source.width, target.width),
      outside: inside,
    };
  });
}

test('the page stays usable at 400 pixels: nothing wider than the window, the trees stacked', async () => {
  await typeSentence(SAMPLE);
  await translateWith(() => page.click('#translate'));
  const cases = [
    { width: 1400, sideBySide: true, screenshot: 'page-1400.png' },
    { width: 400, sideBySide: false, screenshot: 'page-400.png' },
  ];
  try {
    for (const c of cases) {
      const layout = await layoutAt(c.width);
      assert.ok(layout.pageWidth <= layout.windowWidth, `${c.width}: the page is ${layout.pageWidth} wide`);
      assert.deepEqual(layout.outside, [], `${c.width}: outside the window`);
      assert.equal(layout.sideBySide, c.sideBySide, `${c.width}: side by side`);
      assert.equal(layout.stacked, !c.sideBySide, `${c.width}: stacked`);
      assert.ok(layout.treeWidth > c.width / 3, `${c.width}: trees ${layout.treeWidth} wide`);
      await page.screenshot({ path: path.join(outputDir, c.screenshot), fullPage: true });
    }
  } finally {
    await page.setViewportSize({ width: 1200, height: 1000 });
  }
});

test('About opens and closes', async () => {
  await page.click('#about-entry');
  assert.ok(await page.$eval('#about', (dialog) => dialog.open));
  assert.equal(await page.textContent('#about-title'), 'About Velmorin');
  assert.equal(await page.textContent('#about-text'), 'Quillet v1.0');
  await page.click('#about-ok');
  assert.equal(await page.$eval('#about', (dialog) => dialog.open), false);
});

test('a sentence that does not parse shows its message and the rewritten words', async () => {
  await typeSentence(UNPARSED);
  await translateWith(() => page.click('#translate'));
  assert.equal(await page.inputValue('#output'), expected[UNPARSED].output);
  const messages = await page.$$eval('#messages li', (items) => items.map((item) => item.textContent));
  assert.ok(messages.includes('Tarnwick: Sentence could not be parsed.'), messages.join('|'));
  assert.equal(await page.isEnabled('#translate'), true);
});

test('markup in a sentence stays text and runs nothing', async () => {
  await typeSentence(MARKUP);
  await translateWith(() => page.click('#translate'));
  assert.equal(await page.inputValue('#sentence'), MARKUP);
  assert.equal(await page.inputValue('#output'), expected[MARKUP].output);
  assert.equal(await page.$$eval('main img', (images) => images.length), 0);
  assert.equal(page.scriptDialogs ?? 0, 0);
});

test('a port in use stops a second server with exit 4', async () => {
  const blocker = net.createServer();
  await new Promise((resolve) => blocker.listen(0, '127.0.0.1', resolve));
  const second = copyDataRoot();
  try {
    const other = startServer(second, blocker.address().port);
    other.address.catch(() => {});
    const { code } = await other.exited;
    assert.equal(code, 4, other.errors);
  } finally {
    blocker.close();
    fs.rmSync(second, { recursive: true, force: true });
  }
});

test('SIGTERM stops the server cleanly', async () => {
  await context.close();
  context = undefined;
  server.kill('SIGTERM');
  const { code, signal } = await server.exited;
  assert.equal(signal, null);
  assert.equal(code, 0, server.errors);
});
