// Replays review histories through ts-fsrs and prints the state after every review, for the
// agreement test of the trainer's scheduler. Input lines: "history day minute grade" (days from
// the first day, minutes after noon UTC, grade 1..4), each history's reviews in order. Output
// lines: "history review stability difficulty dueDay".
import { readFileSync } from 'node:fs'
import { createEmptyCard, fsrs } from 'ts-fsrs'

// Whole-day scheduling as the trainer does it: no learning steps (every answer gives a due day),
// the same-day formula for a second review on one day, no fuzz, desired retention 0.9.
const scheduler = fsrs({
  request_retention: 0.9,
  maximum_interval: 36500,
  enable_fuzz: false,
  enable_short_term: true,
  learning_steps: [],
  relearning_steps: [],
})

const dayMs = 86400000
const start = Date.UTC(2025, 0, 1, 12)
const cards = new Map()
const out = []
for (const line of readFileSync(process.argv[2], 'utf8').split('\n')) {
  if (line.trim() === '') continue
  const [history, day, minute, grade] = line.trim().split(/\s+/).map(Number)
  const when = new Date(start + day * dayMs + minute * 60000)
  const entry = cards.get(history) ?? { card: createEmptyCard(when), reviews: 0 }
  entry.card = scheduler.next(entry.card, when, grade).card
  const dueDay = Math.floor((entry.card.due.getTime() - start) / dayMs)
  out.push(`${history} ${entry.reviews} ${entry.card.stability} ${entry.card.difficulty} ${dueDay}`)
  entry.reviews += 1
  cards.set(history, entry)
}
process.stdout.write(out.join('\n') + '\n')
