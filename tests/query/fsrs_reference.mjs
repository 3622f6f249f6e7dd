// Replays every history that fsrs_histories wrote with the reference
// implementation and compares, review by review: stability and difficulty
// within 1e-4, retrievability within 1e-4, the same state, the same interval
// in days and the same due day. Exits 1 on any difference.
import { readFileSync } from 'node:fs';
import { createRequire } from 'node:module';

const [, , modules, table] = process.argv;
const require = createRequire(modules + '/');
const { fsrs, createEmptyCard } = require('ts-fsrs');

const day = 86400000;
let reviews = 0;
let cards = 0;
const faults = [];
for (const line of readFileSync(table, 'utf8').split('\n')) {
    if (!line) continue;
    const history = JSON.parse(line);
    cards++;
    const f = fsrs({ request_retention: history.retention, enable_fuzz: false, enable_short_term: true });
    let card = createEmptyCard(new Date(history.reviews[0].t));
    for (const [i, ours] of history.reviews.entries()) {
        const now = new Date(ours.t);
        const r = f.get_retrievability(card, now, false);
        card = f.next(card, now, ours.g).card;
        reviews++;
        const where = `card ${history.card} review ${i} (grade ${ours.g})`;
        const near = (a, b) => Math.abs(a - b) <= 1e-4;
        if (!near(r, ours.r)) faults.push(`${where}: retrievability ${ours.r}, reference ${r}`);
        if (!near(card.stability, ours.s)) faults.push(`${where}: stability ${ours.s}, reference ${card.stability}`);
        if (!near(card.difficulty, ours.d)) faults.push(`${where}: difficulty ${ours.d}, reference ${card.difficulty}`);
        if (card.state !== ours.state) faults.push(`${where}: state ${ours.state}, reference ${card.state}`);
        if (card.scheduled_days !== ours.days)
            faults.push(`${where}: interval ${ours.days} days, reference ${card.scheduled_days}`);
        if (Math.floor(card.due.getTime() / day) !== Math.floor(ours.due / day))
            faults.push(`${where}: due ${new Date(ours.due).toISOString()}, reference ${card.due.toISOString()}`);
    }
}
console.log(`compared ${reviews} reviews of ${cards} cards with ts-fsrs`);
if (cards < 200) faults.push(`only ${cards} cards in the table`);
for (const fault of faults.slice(0, 30)) console.log(fault);
if (faults.length) {
    console.log(`${faults.length} differences`);
    process.exit(1);
}
