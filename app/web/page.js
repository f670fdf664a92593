// The translator's window as a page: the captions come from the program,
// Translate sends the sentence and shows the result record it gets back.
// Every text from the program goes in through textContent or value, never as
// markup.
'use strict';

const byId = (id) => document.getElementById(id);

// Element ids and the names of the texts they show.
const CAPTIONS = {
  'translate': 'translate',
  'clear': 'clear',
  'enter-sentence': 'enterSentence',
  'english-label': 'englishLabel',
  'english-fstructure': 'englishFStructure',
  'urdu-label': 'urduLabel',
  'urdu-fstructure': 'urduFStructure',
  'cstructure-caption': 'cStructureCheckBox',
  'about-entry': 'aboutEntry',
  'about-title': 'aboutTitle',
  'about-text': 'aboutText',
  'about-ok': 'ok',
};

function showCaptions(texts) {
  for (const [id, name] of Object.entries(CAPTIONS)) byId(id).textContent = texts[name];
  document.title = texts.windowTitle;
  byId('sentence').value = texts.sampleSentence;
  byId('sentence').focus();
}

function clearResults() {
  byId('output').value = '';
  byId('source-tree').replaceChildren();
  byId('target-tree').replaceChildren();
  byId('messages').replaceChildren();
  byId('cstructures').replaceChildren();
}

// Runs of Arabic-script letters (with the blanks between their words).
const URDU_RUN = /[\u0600-\u06FF\u0750-\u077F\uFB50-\uFDFF\uFE70-\uFEFF]+(?:\s+[\u0600-\u06FF\u0750-\u077F\uFB50-\uFDFF\uFE70-\uFEFF]+)*/g;

// Puts the text into the element, each Urdu run in a span of its own that
// the style sheet sets in Nastaliq.
function appendText(element, text) {
  let at = 0;
  for (const match of text.matchAll(URDU_RUN)) {
    if (match.index > at) element.append(text.slice(at, match.index));
    const urdu = document.createElement('span');
    urdu.lang = 'ur';
    urdu.dir = 'rtl';
    urdu.textContent = match[0];
    element.append(urdu);
    at = match.index + match[0].length;
  }
  if (at < text.length) element.append(text.slice(at));
}

// One tree item: an item with children is an open <details>, a leaf a line.
function treeItem(item) {
  const li = document.createElement('li');
  if (item.children.length === 0) {
    const text = document.createElement('span');
    appendText(text, item.text);
    li.append(text);
    return li;
  }
  const details = document.createElement('details');
  details.open = item.expanded;
  const summary = document.createElement('summary');
  appendText(summary, item.text);
  const list = document.createElement('ul');
  list.append(...item.children.map(treeItem));
  details.append(summary, list);
  li.append(details);
  return li;
}

function showTree(id, roots) {
  const list = document.createElement('ul');
  list.append(...roots.map(treeItem));
  byId(id).replaceChildren(list);
}

function showMessages(messages) {
  byId('messages').replaceChildren(...messages.map((message) => {
    const li = document.createElement('li');
    li.textContent = message.caption ? `${message.caption}: ${message.text}` : message.text;
    return li;
  }));
}

// One line of the XML tree.
function xmlLine(text) {
  const line = document.createElement('div');
  line.className = 'xml-line';
  appendText(line, text);
  return line;
}

function startTag(element) {
  const attributes = [...element.attributes].map((attribute) => ` ${attribute.name}="${attribute.value}"`);
  return `<${element.tagName}${attributes.join('')}>`;
}

// An element as a browser shows an XML file: an element holding only text
// on one line, any other with its start tag, its children one level further
// in, and its end tag. Built from text nodes only.
function xmlItem(element) {
  const item = document.createElement('li');
  const children = [...element.childNodes].filter((node) =>
    node.nodeType === Node.ELEMENT_NODE || (node.nodeType === Node.TEXT_NODE && node.data.trim() !== ''));
  if (children.every((node) => node.nodeType === Node.TEXT_NODE)) {
    item.append(xmlLine(`${startTag(element)}${element.textContent}</${element.tagName}>`));
    return item;
  }
  const list = document.createElement('ul');
  list.append(...children.map((node) => {
    if (node.nodeType !== Node.TEXT_NODE) return xmlItem(node);
    const text = document.createElement('li');
    text.append(xmlLine(node.data));
    return text;
  }));
  item.append(xmlLine(startTag(element)), list, xmlLine(`</${element.tagName}>`));
  return item;
}

function cStructureTree(cStructures) {
  const tree = document.createElement('ul');
  tree.className = 'xml-tree';
  const parsed = cStructures.readable
    ? new DOMParser().parseFromString(cStructures.xml, 'application/xml') : null;
  if (parsed === null || parsed.querySelector('parsererror') !== null) {
    const failure = document.createElement('li');
    failure.append(xmlLine(parsed === null ? 'The C-structure file could not be read.'
      : 'The C-structure file is not well-formed XML.'));
    tree.append(failure);
  } else {
    tree.append(xmlItem(parsed.documentElement));
  }
  return tree;
}

// One panel per segment with its C-structures as an indented tree of
// categories and words.
function showCStructures(documents) {
  byId('cstructures').replaceChildren(...documents.map((cStructures) => {
    const section = document.createElement('section');
    section.className = 'cstructure';
    section.dataset.segment = String(cStructures.segment);
    const heading = document.createElement('h2');
    heading.textContent = `C-Structure # ${cStructures.segment}`;
    section.append(heading, cStructureTree(cStructures));
    return section;
  }));
}

function showResult(result) {
  byId('output').value = result.output;
  showTree('source-tree', result.sourceTree);
  showTree('target-tree', result.targetTree);
  showMessages(result.messages);
  showCStructures(result.cStructures);
}

function showFailure(text) {
  showMessages([{ caption: '', text }]);
}

async function translate() {
  const button = byId('translate');
  if (button.disabled) return;
  button.disabled = true;
  clearResults();
  try {
    const response = await fetch('/translate', {
      method: 'POST',
      headers: { 'Content-Type': 'application/json' },
      body: JSON.stringify({
        sentence: byId('sentence').value,
        showCStructure: byId('show-cstructure').checked,
      }),
    });
    if (!response.ok) {
      showFailure(`The translator answered ${response.status}: ${await response.text()}`);
      return;
    }
    const result = await response.json();
    showResult(result);
    if (result.sentence === '') byId('sentence').focus();
  } catch (error) {
    showFailure(`The translator cannot be reached: ${error}`);
  } finally {
    button.disabled = false;
  }
}

function clearAll() {
  byId('sentence').value = '';
  clearResults();
  byId('sentence').focus();
}

async function start() {
  byId('sentence-form').addEventListener('submit', (event) => {
    event.preventDefault();
    translate();
  });
  byId('clear').addEventListener('click', clearAll);
  const about = byId('about');
  byId('about-entry').addEventListener('click', () => about.showModal());
  byId('about-ok').addEventListener('click', () => about.close());
  try {
    const response = await fetch('/dialog-texts');
    showCaptions(await response.json());
    document.body.dataset.ready = 'true';
  } catch (error) {
    showFailure(`The translator cannot be reached: ${error}`);
  }
}

start();
