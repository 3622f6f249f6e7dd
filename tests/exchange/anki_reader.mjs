// Reads a package with the npm package anki-reader and compares what it finds
// with what the writer meant to write. Usage: node anki_reader.mjs <node_modules> <package> <expected.json>
import { readFileSync } from 'node:fs';
import path from 'node:path';
import { pathToFileURL } from 'node:url';

const [modules, packageFile, expectedFile] = process.argv.slice(2);
const { readAnkiPackage } = await import(pathToFileURL(path.join(modules, 'anki-reader', 'lib', 'src', 'index.js')));
const expected = JSON.parse(readFileSync(expectedFile, 'utf8'));
const bytes = readFileSync(packageFile);
const { collection } = await readAnkiPackage(new Blob([bytes]));

const failures = [];
const decks = Object.values(collection.getDecks()).filter(deck => deck.getName() === expected.deck);
if (decks.length !== 1) failures.push(`deck "${expected.deck}" found ${decks.length} times`);
const cards = decks.length ? Object.values(decks[0].getCards()) : [];
if (cards.length !== 2 * expected.notes.length)
    failures.push(`${cards.length} cards, expected ${2 * expected.notes.length} (both directions)`);
const seen = new Map();
for (const card of cards) {
    const fields = card.getFields();
    const key = card.getNoteId();
    seen.set(key, [fields['Vorderseite'], fields['Rückseite']]);
}
const notes = [...seen.entries()].sort((a, b) => Number(a[0]) - Number(b[0])).map(entry => entry[1]);
expected.notes.forEach((note, i) => {
    const found = notes[i] ?? [];
    if (found[0] !== note.front) failures.push(`note ${i}: front ${JSON.stringify(found[0])}, expected ${JSON.stringify(note.front)}`);
    if (found[1] !== note.back) failures.push(`note ${i}: back ${JSON.stringify(found[1])}, expected ${JSON.stringify(note.back)}`);
});
if (failures.length) {
    console.error('FAILED:\n' + failures.join('\n'));
    process.exit(1);
}
console.log(`anki-reader read ${cards.length} cards of ${expected.notes.length} notes in "${expected.deck}" as written`);
