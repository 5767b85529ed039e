// The web page's engine against vantel-cli: the same answers for requests,
// tables and pictures in the three languages, and the history file's rules.
//
//   node engine_test.js REFERENCE_CLI WASM_CLI_JS ENGINE_JS...
//
// REFERENCE_CLI is the native vantel-cli; where it does not exist, WASM_CLI_JS
// (vantel-cli built for Node) answers instead.
'use strict';
const assert = require('assert');
const childProcess = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const [referenceCli, wasmCli, ...engines] = process.argv.slice(2);
const cli = fs.existsSync(referenceCli) ? [referenceCli] : [process.execPath, wasmCli];
if (cli.length > 1) console.log(`no ${referenceCli}: comparing with ${wasmCli} under Node`);

function runCli(args) {
  const r = childProcess.spawnSync(cli[0], [...cli.slice(1), ...args], {maxBuffer: 64 << 20});
  return {code: r.status, out: r.stdout, err: r.stderr.toString()};
}

const LANGS = ['ca', 'en', 'es'];
const tmp = fs.mkdtempSync(path.join(os.tmpdir(), 'vantel-web-'));

// What the dialog shows for a request, from vantel-cli --json, in the engine's terms.
function expectedRequest(formula, n, lang) {
  const r = runCli(['--lang', LANGS[lang], '--json', '--', formula, ...(n === null ? [] : [n])]);
  const j = JSON.parse(r.out.toString());
  if (r.code === 2) return {stop: 'formula', caption: j.error.caption, text: j.error.text};
  if (r.code === 3) return {stop: 'n', caption: j.error.caption, text: j.error.text};
  assert.strictEqual(r.code, 0, r.err);
  return {stop: 'none', n: j.n, a: j.a, S: j.S, P: j.P};
}

function checkRequests(engine) {
  const request = engine.cwrap('vantel_request', 'string', ['string', 'string', 'number', 'number']);
  const cases = [
    ['1/n', '3'], ['2^n/n!', '10'], ['n!', '171'], ['1/(n-2)', '3'], ['(1+1/n)^n', '65535'],
    ['(-8)^(1/3)', '2'], ['2n', '3'], ['n+', '1'], ['x€n', '2'], ['1/n', '$A'], ['1/n', ' %101 '],
    ['1/n', '0'], ['1/n', '65536'], ['1/n', 'abc'], ['n^2', null],
  ];
  for (let lang = 0; lang < 3; ++lang) {
    for (const [formula, n] of cases) {
      const got = JSON.parse(request(formula, n === null ? '' : n, 7, lang));
      const want = expectedRequest(formula, n, lang);
      const what = `${formula} ${n} lang ${lang}`;
      assert.strictEqual(got.stop, want.stop, what);
      if (got.stop === 'none') {
        assert.deepStrictEqual([got.n, got.a, got.S, got.P], [want.n, want.a, want.S, want.P], what);
        assert.strictEqual(got.nFilled, n === null, what);
      } else {
        assert.deepStrictEqual([got.caption, got.text], [want.caption, want.text], what);
        if (got.stop === 'formula') assert.strictEqual(got.shown, true, what);
      }
    }
  }
  // Only the wanted quantities; an empty formula is refused without a message;
  // a formula longer than the field is refused, not cut.
  assert.deepStrictEqual(JSON.parse(request('1/n', '4', 2, 1)),
                         {stop: 'none', n: 4, nFilled: false, a: null, S: expectedRequest('1/n', '4', 1).S, P: null});
  assert.deepStrictEqual(JSON.parse(request('   ', '4', 7, 0)), {stop: 'formula', caption: '', text: '', shown: false});
  const long = JSON.parse(request('n'.repeat(255), '1', 7, 0));
  assert.strictEqual(long.stop, 'formula');
  assert.match(long.text, /longer than 254/);
}

function checkTablesAndPlots(engine) {
  const table = engine.cwrap('vantel_table', 'string', ['string', 'string', 'number', 'number']);
  const plot = engine.cwrap('vantel_plot', 'string', ['string', 'string', 'number', 'number']);
  const forms = [[], ['--csv'], ['--csv-semicolon']];
  for (const [formula, n, lang] of [['n!', '172', 1], ['(-1)^n/n', '300', 0], ['1/(n-2)', '5', 2]]) {
    forms.forEach((form, i) => {
      const got = JSON.parse(table(formula, n, lang, i));
      const want = runCli(['--lang', LANGS[lang], '--table', ...form, '--', formula, n]);
      assert.strictEqual(got.stop, 'none');
      assert.strictEqual(got.text, want.out.toString(), `${formula} ${form}`);
    });
  }
  assert.strictEqual(JSON.parse(table('2n', '5', 0, 0)).stop, 'formula');
  assert.strictEqual(JSON.parse(table('n', '0', 0, 0)).stop, 'n');
  for (const [formula, n, lang, log] of [['1/n', '200', 0, 0], ['n!', '60', 1, 1], ['1/(n-3)', '8', 2, 0]]) {
    const file = path.join(tmp, 'plot.svg');
    runCli(['--lang', LANGS[lang], '--plot', file, ...(log ? ['--plot-y', 'log'] : []), '--', formula, n]);
    const got = JSON.parse(plot(formula, n, lang, log));
    assert.strictEqual(got.stop, 'none');
    assert.strictEqual(got.svg, fs.readFileSync(file, 'utf8'), `plot of ${formula}`);
  }
}

// The history file's bytes in and out (Windows-1252), through memory from _malloc.
function checkHistory(engine) {
  const readBytes = (bytes) => {
    const at = engine._malloc(bytes.length);
    engine.HEAPU8.set(bytes, at);
    const json = engine.ccall('vantel_history_read', 'string', ['number', 'number'], [at, bytes.length]);
    engine._free(at);
    return JSON.parse(json);
  };
  const cp1252 = (s) => Buffer.from(s, 'latin1');
  const long = 'n+'.repeat(150);  // 300 characters
  const cases = [
    ['n^2\r\n\r\n1/n\r\n', true, ['n^2', '', '1/n']],
    ['n^2\n1/n', true, ['n^2', '1/n']],
    ['a\rb\r\nc\nd', true, ['a', 'b', 'c', 'd']],
    [long + '\r\n1/n\r\n', true, [long.slice(0, 255), '1/n']],
    ['1/n\r\n\x1a', true, ['1/n']],
    ['1/n\r\n\x1a \r\n', true, ['1/n']],
    ['1/n\r\n\x1an^2\r\n', false, ['1/n']],
    ['1/n\r\nn\x00\r\n', false, ['1/n']],
    ['\xe0/n\r\n\x80\r\n', true, ['à/n', '€']],
    ['', true, []],
  ];
  for (const [text, whole, entries] of cases) {
    assert.deepStrictEqual(readBytes(cp1252(text)), {whole, entries}, JSON.stringify(text));
  }
  const utf16 = Buffer.concat([Buffer.from([0xff, 0xfe]), Buffer.from('1/n\r\n', 'utf16le')]);
  assert.strictEqual(readBytes(utf16).whole, false);
  const lines = Buffer.from('n\r\n'.repeat(65536), 'latin1');
  assert.strictEqual(readBytes(lines).whole, false);

  const merge = engine.cwrap('vantel_history_merge', 'string', ['string', 'string']);
  assert.deepStrictEqual(JSON.parse(merge('À/n\nn^2', 'N^2\nà/N\n1/n\nù')),
                         {entries: ['À/n', 'n^2', '1/n', 'ù'], full: false});
  assert.deepStrictEqual(JSON.parse(merge('', '')), {entries: [], full: false});
  const full = JSON.parse(merge(Array.from({length: 65535}, (_, i) => `${i}`).join('\n'), 'x\ny'));
  assert.deepStrictEqual([full.entries.length, full.full], [65535, true]);

  const write = engine.cwrap('vantel_history_write', 'string', ['string']);
  const bytes = Buffer.from(JSON.parse(write('à/n\n\n€^n')).base64, 'base64');
  assert.deepStrictEqual(bytes, cp1252('\xe0/n\r\n\r\n\x80^n\r\n'));
  assert.deepStrictEqual(readBytes(bytes), {whole: true, entries: ['à/n', '', '€^n']});
}

async function main() {
  for (const file of engines) {
    const engine = await require(path.resolve(file))();
    const version = JSON.parse(engine.ccall('vantel_version', 'string', [], [])).version;
    assert.strictEqual(`vantel-cli (Vantel) ${version}\n`, runCli(['--version']).out.toString());
    checkRequests(engine);
    checkTablesAndPlots(engine);
    checkHistory(engine);
    console.log(`${path.basename(file)}: the same answers as vantel-cli, and the history rules`);
  }
  fs.rmSync(tmp, {recursive: true, force: true});
}

main().catch((e) => {
  console.error(e);
  process.exit(1);
});
