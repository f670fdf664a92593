#!/usr/bin/env python3
"""Builds the English lexicon of the CFG parser, datasrc/data/english/ELexicon.txt.

The closed classes (pronouns, determiners, auxiliaries, prepositions,
conjunctions, negation, question words, numbers, punctuation) are written
here by hand. The open classes (nouns, verbs, adjectives, adverbs, names) are
listed here with their lemmas, forms and verb frames; every form is checked
against the lexicon of the Brill tagger (npm package "brill", MIT licence),
which gives the parts of speech a word form can have, most likely first:

- a reading is written only when Brill's lexicon lists its tag for the form
  (NN/NNS for nouns, JJ for adjectives, RB for adverbs, VB/VBP, VBZ, VBD,
  VBN, VBG for the verb forms, NNP for names);
- a reading whose tag is not Brill's first tag for the form gets the weight
  @-1@ (the tagger's log scale), so the usual reading of a word wins when the
  bigrams do not decide.

Forms that Brill's lexicon does not attest are reported and left out (names
excepted: they are chosen here).

usage: tools/build_english_lexicon.py            write ELexicon.txt
       tools/build_english_lexicon.py --check    exit 1 when it is out of date

The Brill lexicon is installed with npm into tools/.cache (not committed).
"""
import json
import os
import subprocess
import sys

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
CACHE = os.path.join(ROOT, 'tools', '.cache', 'brill')
TARGET = os.path.join(ROOT, 'datasrc', 'data', 'english', 'ELexicon.txt')
POS_LIST = os.path.join(ROOT, 'datasrc', 'data', 'english', 'POSs.txt')
BRILL_VERSION = '3.1.0'
SECONDARY_WEIGHT = '@-1@'

# --- Brill's lexicon ---------------------------------------------------------


def brill_lexicon():
    module = os.path.join(CACHE, 'node_modules', 'brill')
    if not os.path.isdir(module):
        os.makedirs(CACHE, exist_ok=True)
        subprocess.run(['npm', 'install', '--no-audit', '--no-fund', '--prefix', CACHE, 'brill@' + BRILL_VERSION],
                       check=True, stdout=subprocess.DEVNULL)
    script = "import {brill} from 'brill'; process.stdout.write(JSON.stringify(brill))"
    result = subprocess.run(['node', '--input-type=module', '-e', script], cwd=CACHE, check=True,
                            capture_output=True, text=True)
    return json.loads(result.stdout)


# --- Closed classes, written by hand ----------------------------------------

CLOSED = r"""
/ Pronouns
/ --------
/ PRED is the nominative form; the object forms carry CASE = acc, so that a
/ subject "him" or an object "he" finds no analysis.

I: pron, ^PRED='I', ^PRONTYPE=pers, ^PERS=1, ^NUM=sg, ^CASE=nom.
me: pron, ^PRED='I', ^PRONTYPE=pers, ^PERS=1, ^NUM=sg, ^CASE=acc.
you: pron, ^PRED='you', ^PRONTYPE=pers, ^PERS=2.
he: pron, ^PRED='he', ^PRONTYPE=pers, ^PERS=3, ^NUM=sg, ^GEND=m, ^CASE=nom.
him: pron, ^PRED='he', ^PRONTYPE=pers, ^PERS=3, ^NUM=sg, ^GEND=m, ^CASE=acc.
she: pron, ^PRED='she', ^PRONTYPE=pers, ^PERS=3, ^NUM=sg, ^GEND=f, ^CASE=nom.
her: pron, ^PRED='she', ^PRONTYPE=pers, ^PERS=3, ^NUM=sg, ^GEND=f, ^CASE=acc.
it: pron, ^PRED='it', ^PRONTYPE=pers, ^PERS=3, ^NUM=sg.
we: pron, ^PRED='we', ^PRONTYPE=pers, ^PERS=1, ^NUM=pl, ^CASE=nom.
us: pron, ^PRED='we', ^PRONTYPE=pers, ^PERS=1, ^NUM=pl, ^CASE=acc.
they: pron, ^PRED='they', ^PRONTYPE=pers, ^PERS=3, ^NUM=pl, ^CASE=nom.
them: pron, ^PRED='they', ^PRONTYPE=pers, ^PERS=3, ^NUM=pl, ^CASE=acc.
this: pron, ^PRED='this', ^PRONTYPE=dem, ^PERS=3, ^NUM=sg.
that: pron, ^PRED='that', ^PRONTYPE=dem, ^PERS=3, ^NUM=sg.
these: pron, ^PRED='this', ^PRONTYPE=dem, ^PERS=3, ^NUM=pl.
those: pron, ^PRED='that', ^PRONTYPE=dem, ^PERS=3, ^NUM=pl.
something: pron, ^PRED='something', ^PERS=3, ^NUM=sg.
someone: pron, ^PRED='someone', ^PERS=3, ^NUM=sg.
everything: pron, ^PRED='everything', ^PERS=3, ^NUM=sg.
everyone: pron, ^PRED='everyone', ^PERS=3, ^NUM=sg.
nothing: pron, ^PRED='nothing', ^PERS=3, ^NUM=sg.
anything: pron, ^PRED='anything', ^PERS=3, ^NUM=sg.
anybody: pron, ^PRED='anybody', ^PERS=3, ^NUM=sg.
mine: pron, ^PRED='mine', ^PERS=3.
myself: pron, ^PRED='I', ^PRONTYPE=refl, ^PERS=1, ^NUM=sg, ^CASE=acc.
yourself: pron, ^PRED='you', ^PRONTYPE=refl, ^PERS=2, ^NUM=sg, ^CASE=acc.
himself: pron, ^PRED='he', ^PRONTYPE=refl, ^PERS=3, ^NUM=sg, ^GEND=m, ^CASE=acc.
herself: pron, ^PRED='she', ^PRONTYPE=refl, ^PERS=3, ^NUM=sg, ^GEND=f, ^CASE=acc.
themselves: pron, ^PRED='they', ^PRONTYPE=refl, ^PERS=3, ^NUM=pl, ^CASE=acc.

/ Determiners
/ -----------
/ A determiner is the SPEC of its noun phrase; SPECTYPE tells its kind.

the: det, ^PRED='the', ^SPECTYPE=def.
a: det, ^PRED='a', ^SPECTYPE=indef.
an: det, ^PRED='a', ^SPECTYPE=indef.
this: det, ^PRED='this', ^SPECTYPE=dem.
that: det, ^PRED='that', ^SPECTYPE=dem.
these: det, ^PRED='this', ^SPECTYPE=dem.
those: det, ^PRED='that', ^SPECTYPE=dem.
some: det, ^PRED='some', ^SPECTYPE=quant.
any: det, ^PRED='any', ^SPECTYPE=quant.
every: det, ^PRED='every', ^SPECTYPE=quant.
each: det, ^PRED='each', ^SPECTYPE=quant.
no: det, ^PRED='no', ^SPECTYPE=quant.
all: det, ^PRED='all', ^SPECTYPE=quant.
many: det, ^PRED='many', ^SPECTYPE=quant.
much: det, ^PRED='much', ^SPECTYPE=quant.
my: det, ^PRED='I', ^SPECTYPE=poss.
your: det, ^PRED='you', ^SPECTYPE=poss.
his: det, ^PRED='he', ^SPECTYPE=poss.
her: det, ^PRED='she', ^SPECTYPE=poss.
its: det, ^PRED='it', ^SPECTYPE=poss.
our: det, ^PRED='we', ^SPECTYPE=poss.
their: det, ^PRED='they', ^SPECTYPE=poss.
another: det, ^PRED='another', ^SPECTYPE=quant.
enough: det, ^PRED='enough', ^SPECTYPE=quant.
few: det, ^PRED='few', ^SPECTYPE=quant.
both: det, ^PRED='both', ^SPECTYPE=quant.

/ Auxiliaries
/ -----------
/ Every auxiliary is tensed and sets the form of the verb after it (VFORM);
/ the two share one F-structure. The forms of "be" make the progressive, those of "have"
/ the perfect, "will" the future, "do" carries tense and negation alone.
/ Subject agreement: 3rd singular, 1st singular, or the rest.

is: aux, ^TENSE=pres, ^ASPECT=prog, ^VFORM=prespart, ^SUBJ NUM=sg, ^SUBJ PERS=3.
am: aux, ^TENSE=pres, ^ASPECT=prog, ^VFORM=prespart, ^SUBJ NUM=sg, ^SUBJ PERS=1.
are: aux, ^TENSE=pres, ^ASPECT=prog, ^VFORM=prespart, [^SUBJ PERS=2 | ^SUBJ NUM=pl].
was: aux, ^TENSE=past, ^ASPECT=prog, ^VFORM=prespart, ^SUBJ NUM=sg, [^SUBJ PERS=1 | ^SUBJ PERS=3].
were: aux, ^TENSE=past, ^ASPECT=prog, ^VFORM=prespart, [^SUBJ PERS=2 | ^SUBJ NUM=pl].
has: aux, ^TENSE=pres, ^ASPECT=perf, ^VFORM=pastpart, ^SUBJ NUM=sg, ^SUBJ PERS=3.
have: aux, ^TENSE=pres, ^ASPECT=perf, ^VFORM=pastpart, [^SUBJ PERS=1 | [^SUBJ PERS=2 | ^SUBJ NUM=pl]].
had: aux, ^TENSE=past, ^ASPECT=perf, ^VFORM=pastpart.
will: aux, ^TENSE=fut, ^VFORM=base.
shall: aux, ^TENSE=fut, ^VFORM=base.
does: aux, ^TENSE=pres, ^VFORM=base, ^SUBJ NUM=sg, ^SUBJ PERS=3.
do: aux, ^TENSE=pres, ^VFORM=base, [^SUBJ PERS=1 | [^SUBJ PERS=2 | ^SUBJ NUM=pl]].
did: aux, ^TENSE=past, ^VFORM=base.

/ Modal auxiliaries: tensed, followed by the base form; MODAL names them.
can: aux, ^TENSE=pres, ^VFORM=base, ^MODAL=can.
could: aux, ^TENSE=past, ^VFORM=base, ^MODAL=can.
would: aux, ^TENSE=past, ^VFORM=base, ^MODAL=would.
should: aux, ^TENSE=pres, ^VFORM=base, ^MODAL=should.
must: aux, ^TENSE=pres, ^VFORM=base, ^MODAL=must.
may: aux, ^TENSE=pres, ^VFORM=base, ^MODAL=may.
might: aux, ^TENSE=past, ^VFORM=base, ^MODAL=may.

/ Contracted auxiliaries: the tokeniser splits "I'm", "we'll", "you've",
/ "you're", "I'd" at the apostrophe and drops it, so the pieces m, ll, ve,
/ re and d come as words of their own. "'d" is "had" or "would".
m: aux, ^TENSE=pres, ^ASPECT=prog, ^VFORM=prespart, ^SUBJ NUM=sg, ^SUBJ PERS=1.
re: aux, ^TENSE=pres, ^ASPECT=prog, ^VFORM=prespart, [^SUBJ PERS=2 | ^SUBJ NUM=pl].
ll: aux, ^TENSE=fut, ^VFORM=base.
ve: aux, ^TENSE=pres, ^ASPECT=perf, ^VFORM=pastpart, [^SUBJ PERS=1 | [^SUBJ PERS=2 | ^SUBJ NUM=pl]].
d: aux, ^TENSE=past, ^ASPECT=perf, ^VFORM=pastpart.
d: aux, ^TENSE=past, ^VFORM=base, ^MODAL=would.

/ Negated auxiliaries: "don't" comes as "don" and "t". The first piece is
/ the auxiliary and demands the negation after it (NEG =c +); "t" is the
/ negation (below). "can't" gives "can" and "t", "won't" "won" and "t".
don: aux, ^TENSE=pres, ^VFORM=base, [^SUBJ PERS=1 | [^SUBJ PERS=2 | ^SUBJ NUM=pl]], ^NEG=c +.
doesn: aux, ^TENSE=pres, ^VFORM=base, ^SUBJ NUM=sg, ^SUBJ PERS=3, ^NEG=c +.
didn: aux, ^TENSE=past, ^VFORM=base, ^NEG=c +.
won: aux, ^TENSE=fut, ^VFORM=base, ^NEG=c +.
isn: aux, ^TENSE=pres, ^ASPECT=prog, ^VFORM=prespart, ^SUBJ NUM=sg, ^SUBJ PERS=3, ^NEG=c +.
aren: aux, ^TENSE=pres, ^ASPECT=prog, ^VFORM=prespart, [^SUBJ PERS=2 | ^SUBJ NUM=pl], ^NEG=c +.
wasn: aux, ^TENSE=past, ^ASPECT=prog, ^VFORM=prespart, ^SUBJ NUM=sg, [^SUBJ PERS=1 | ^SUBJ PERS=3], ^NEG=c +.
weren: aux, ^TENSE=past, ^ASPECT=prog, ^VFORM=prespart, [^SUBJ PERS=2 | ^SUBJ NUM=pl], ^NEG=c +.
hasn: aux, ^TENSE=pres, ^ASPECT=perf, ^VFORM=pastpart, ^SUBJ NUM=sg, ^SUBJ PERS=3, ^NEG=c +.
haven: aux, ^TENSE=pres, ^ASPECT=perf, ^VFORM=pastpart, [^SUBJ PERS=1 | [^SUBJ PERS=2 | ^SUBJ NUM=pl]], ^NEG=c +.
hadn: aux, ^TENSE=past, ^ASPECT=perf, ^VFORM=pastpart, ^NEG=c +.
couldn: aux, ^TENSE=past, ^VFORM=base, ^MODAL=can, ^NEG=c +.
wouldn: aux, ^TENSE=past, ^VFORM=base, ^MODAL=would, ^NEG=c +.
shouldn: aux, ^TENSE=pres, ^VFORM=base, ^MODAL=should, ^NEG=c +.
mustn: aux, ^TENSE=pres, ^VFORM=base, ^MODAL=must, ^NEG=c +.

/ The copula
/ ----------
/ "be" with a predicate (PREDLINK): "Tom is happy", "I am a teacher", "the
/ book is on the table". VTYPE = cop lets the grammar put it before the
/ subject in questions and before "not". The progressive and passive "be"
/ are the auxiliaries above.

be: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=base.
been: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=pastpart.
being: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=prespart.
is: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=pres, ^SUBJ NUM=sg, ^SUBJ PERS=3.
am: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=pres, ^SUBJ NUM=sg, ^SUBJ PERS=1.
m: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=pres, ^SUBJ NUM=sg, ^SUBJ PERS=1.
are: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=pres, [^SUBJ PERS=2 | ^SUBJ NUM=pl].
re: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=pres, [^SUBJ PERS=2 | ^SUBJ NUM=pl].
was: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=past, ^SUBJ NUM=sg, [^SUBJ PERS=1 | ^SUBJ PERS=3].
were: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=past, [^SUBJ PERS=2 | ^SUBJ NUM=pl].
isn: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=pres, ^SUBJ NUM=sg, ^SUBJ PERS=3, ^NEG=c +.
aren: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=pres, [^SUBJ PERS=2 | ^SUBJ NUM=pl], ^NEG=c +.
wasn: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=past, ^SUBJ NUM=sg, [^SUBJ PERS=1 | ^SUBJ PERS=3], ^NEG=c +.
weren: v, ^PRED='be<SUBJ,PREDLINK>', ^VTYPE=cop, ^VFORM=fin, ^TENSE=past, [^SUBJ PERS=2 | ^SUBJ NUM=pl], ^NEG=c +.

/ Negation
/ --------

not: neg, ^NEG=+.
t: neg, ^NEG=+.

/ Prepositions
/ ------------
/ Each takes one object (frame OBJ).

about: p, ^PRED='about<OBJ>'.
after: p, ^PRED='after<OBJ>'.
against: p, ^PRED='against<OBJ>'.
among: p, ^PRED='among<OBJ>'.
around: p, ^PRED='around<OBJ>'.
at: p, ^PRED='at<OBJ>'.
before: p, ^PRED='before<OBJ>'.
behind: p, ^PRED='behind<OBJ>'.
between: p, ^PRED='between<OBJ>'.
by: p, ^PRED='by<OBJ>'.
during: p, ^PRED='during<OBJ>'.
for: p, ^PRED='for<OBJ>'.
from: p, ^PRED='from<OBJ>'.
in: p, ^PRED='in<OBJ>'.
into: p, ^PRED='into<OBJ>'.
near: p, ^PRED='near<OBJ>'.
of: p, ^PRED='of<OBJ>'.
on: p, ^PRED='on<OBJ>'.
over: p, ^PRED='over<OBJ>'.
through: p, ^PRED='through<OBJ>'.
to: p, ^PRED='to<OBJ>'.
under: p, ^PRED='under<OBJ>'.
with: p, ^PRED='with<OBJ>'.
without: p, ^PRED='without<OBJ>'.
until: p, ^PRED='until<OBJ>'.
since: p, ^PRED='since<OBJ>'.
like: p, ^PRED='like<OBJ>'.

/ Conjunctions
/ ------------
/ Coordinating conjunctions name their kind (COORD); subordinating ones
/ open a clause. The tags are "coord_conj" and "sub_conj" when POSs.txt has
/ them, else "conj" for both.

and: COORD_CONJ, ^COORD=and.
or: COORD_CONJ, ^COORD=or.
but: COORD_CONJ, ^COORD=but.
because: SUB_CONJ.
if: SUB_CONJ.
so: SUB_CONJ.
than: SUB_CONJ, ^CONJFORM=than.
that: SUB_CONJ, ^CONJFORM=that.
when: SUB_CONJ.
while: SUB_CONJ.

/ Question words
/ --------------

/ Question pronouns (wh) stand for a subject, an object or a predicate; the
/ question adverbs are adverbs with PRONTYPE int and modify a clause.

what: wh, ^PRED='what', ^PRONTYPE=int.
who: wh, ^PRED='who', ^PRONTYPE=int.
whom: wh, ^PRED='who', ^PRONTYPE=int.
which: wh, ^PRED='which', ^PRONTYPE=int.
whose: wh, ^PRED='who', ^PRONTYPE=int.
where: adv, ^PRED='where', ^PRONTYPE=int.
when: adv, ^PRED='when', ^PRONTYPE=int.
why: adv, ^PRED='why', ^PRONTYPE=int.
how: adv, ^PRED='how', ^PRONTYPE=int.

/ Numbers
/ -------

one: card, ^PRED='one', ^NUMBER_VAL=1.
two: card, ^PRED='two', ^NUMBER_VAL=2.
three: card, ^PRED='three', ^NUMBER_VAL=3.
four: card, ^PRED='four', ^NUMBER_VAL=4.
five: card, ^PRED='five', ^NUMBER_VAL=5.
six: card, ^PRED='six', ^NUMBER_VAL=6.
seven: card, ^PRED='seven', ^NUMBER_VAL=7.
eight: card, ^PRED='eight', ^NUMBER_VAL=8.
nine: card, ^PRED='nine', ^NUMBER_VAL=9.
ten: card, ^PRED='ten', ^NUMBER_VAL=10.
eleven: card, ^PRED='eleven', ^NUMBER_VAL=11.
twelve: card, ^PRED='twelve', ^NUMBER_VAL=12.
thirteen: card, ^PRED='thirteen', ^NUMBER_VAL=13.
fourteen: card, ^PRED='fourteen', ^NUMBER_VAL=14.
fifteen: card, ^PRED='fifteen', ^NUMBER_VAL=15.
sixteen: card, ^PRED='sixteen', ^NUMBER_VAL=16.
seventeen: card, ^PRED='seventeen', ^NUMBER_VAL=17.
eighteen: card, ^PRED='eighteen', ^NUMBER_VAL=18.
nineteen: card, ^PRED='nineteen', ^NUMBER_VAL=19.
twenty: card, ^PRED='twenty', ^NUMBER_VAL=20.
thirty: card, ^PRED='thirty', ^NUMBER_VAL=30.
fifty: card, ^PRED='fifty', ^NUMBER_VAL=50.
hundred: card, ^PRED='hundred', ^NUMBER_VAL=100.
thousand: card, ^PRED='thousand', ^NUMBER_VAL=1000.
/ "one" also stands for a noun already named: "I prefer the black one".
one: n, ^PRED='one', ^NUM=sg, ^PERS=3 @-1@.

first: ord, ^PRED='first', ^ORD_NUMBER_VAL=1.
second: ord, ^PRED='second', ^ORD_NUMBER_VAL=2.
third: ord, ^PRED='third', ^ORD_NUMBER_VAL=3.
last: ord, ^PRED='last'.
next: ord, ^PRED='next'.

/ "Let's"
/ -------
/ "let" before the apostrophe of "let's" makes a suggestion that includes
/ the speaker: "Let's go", "Let's try it". The grammar gives the clause
/ its subject "we"; "let" itself adds nothing but its form (LETFORM).

let: v, ^LETFORM=+.

/ Politeness
/ ----------
/ "please" before a command modifies it like an adverb: "Please sit down".
/ Brill's lexicon knows it only as a verb, so it is written here.

please: adv, ^PRED='please'.

/ "there" is an adverb of place ("He is there") and the dummy subject of
/ the existential "There is a book on the table"; ADVFORM lets the grammar
/ find it.

there: adv, ^PRED='there', ^ADVFORM=there.

/ Punctuation
/ -----------
/ A question mark may close a sentence.

?: punct.
"""

# --- Open classes: lemmas and forms, checked against Brill's lexicon -------

# Count nouns, "singular" or "singular:plural" when the plural is irregular.
NOUNS = """
animal answer apple area arm baby bag ball bank bed bird boat body book boy
brother building bus car cat chair child:children city class computer
country cow cup day dog door dream ear egg eye face family farm farmer father
field fish:fish flower foot:feet friend game garden girl glass government
group hand head heart home horse hospital hour house idea job key king lady
language letter life:lives line man:men market minute month morning mother
mountain mouth name night nose number office paper park party pen
person:people picture place plan plant poem point problem question river road
room rule school sea song sister shop son story street student table teacher
thing town tree village voice war way week window woman:women word world year
accident account afternoon age airport album army bicycle birthday bottle
box bridge cake camera capital castle chance citizen cloud coat college
committee crowd daughter desk dictionary dinner doctor dollar encounter
examination fact fault fever floor foreigner grandfather grandpa guitar hat
heater holiday hotel interview kid kitchen lawyer lot matter meal mile
mistake moon movie museum necklace newspaper noon novel offer page pair
period phone piano plane player present price princess prize product purpose
rabbit refugee restaurant rose rumor sailor scarf:scarves seat shelf:shelves shoe shower
size skin sleeve storm tail team test ticket tie toy train troop university
vacation waiter wallet weekend wheelchair wind wolf:wolves
bedtime ceiling childhood clock watch curtain danger description drive expense
garage habit hairstyle lamp match part piece racket result theater tongue
"""

# Nouns of time: a noun phrase that they head may modify a verb phrase
# ("I play football every day", "I'm going to Europe next week"); they
# carry NTYPE time.
TIME_NOUNS = {'day', 'week', 'month', 'year', 'morning', 'afternoon', 'night', 'weekend', 'time'}

# Mass nouns: singular only.
MASS_NOUNS = """
air bread earth fire food hair land light meat milk money news rain sky sun
tea time truth water work best
beauty business cash coffee electricity football glue hunger justice makeup
music plastic poverty rice science silence tennis traffic weather
care heat insecurity police
"""

# Verbs: base 3sg past pastpart prespart frames (i: SUBJ, t: SUBJ OBJ,
# d: SUBJ OBJ OBJ2, p: SUBJ PREDLINK, x: SUBJ XCOMP, o: SUBJ OBJ XCOMP,
# c: SUBJ COMP, a clause with or without "that"; see FRAMES).
VERBS = """
answer answers answered answered answering t,i
arrive arrives arrived arrived arriving i
ask asks asked asked asking t,i,d,o
begin begins began begun beginning t,i,x
believe believes believed believed believing t,i,c
bring brings brought brought bringing t,d
build builds built built building t
buy buys bought bought buying t,d
call calls called called calling t,i
carry carries carried carried carrying t
change changes changed changed changing t,i
close closes closed closed closing t,i
come comes came come coming i
cook cooks cooked cooked cooking t,i
cry cries cried cried crying i
cut cuts cut cut cutting t
die dies died died dying i
do does did done doing t
drink drinks drank drunk drinking t,i
drive drives drove driven driving t,i
eat eats ate eaten eating t,i
fall falls fell fallen falling i
feel feels felt felt feeling t,i,p,c
find finds found found finding t,d
fly flies flew flown flying i,t
follow follows followed followed following t,i
forget forgets forgot forgotten forgetting t,i,x,c
get gets got got getting t,d,p
give gives gave given giving t,d
go goes went gone going i,x
grow grows grew grown growing i,t
have has had had having t,x
hear hears heard heard hearing t,i,c
help helps helped helped helping t,i,o
keep keeps kept kept keeping t,p
know knows knew known knowing t,i,c
laugh laughs laughed laughed laughing i
learn learns learned learned learning t,i,x
leave leaves left left leaving t,i
like likes liked liked liking t,x
listen listens listened listened listening i
live lives lived lived living i
look looks looked looked looking i,p
lose loses lost lost losing t,i
love loves loved loved loving t,x
make makes made made making t,d
meet meets met met meeting t,i
need needs needed needed needing t,x
open opens opened opened opening t,i
pay pays paid paid paying t,i,d
play plays played played playing t,i
put puts put put putting t
rain rains rained rained raining i
read reads read read reading t,i,d
remember remembers remembered remembered remembering t,i,x,c
run runs ran run running i
say says said said saying t,c
see sees saw seen seeing t,i
sell sells sold sold selling t,d
send sends sent sent sending t,d
show shows showed shown showing t,d
sing sings sang sung singing t,i
sit sits sat sat sitting i
sleep sleeps slept slept sleeping i
speak speaks spoke spoken speaking t,i
stand stands stood stood standing i
start starts started started starting t,i,x
stop stops stopped stopped stopping t,i
swim swims swam swum swimming i
take takes took taken taking t
talk talks talked talked talking i
teach teaches taught taught teaching t,i,d,o
tell tells told told telling t,d,o
think thinks thought thought thinking i,c
try tries tried tried trying t,i,x
understand understands understood understood understanding t,i
use uses used used using t
visit visits visited visited visiting t
wait waits waited waited waiting i
walk walks walked walked walking i
want wants wanted wanted wanting t,x,o
watch watches watched watched watching t,i
win wins won won winning t,i
work works worked worked working i
write writes wrote written writing t,i,d
advise advises advised advised advising t,o
agree agrees agreed agreed agreeing i,x
appear appears appeared appeared appearing i,p
attack attacks attacked attacked attacking t,i
beat beats beat beaten beating t
become becomes became become becoming p
blame blames blamed blamed blaming t
borrow borrows borrowed borrowed borrowing t
break breaks broke broken breaking t,i
burn burns burned burned burning i,t
catch catches caught caught catching t
choose chooses chose chosen choosing t,i,x
clean cleans cleaned cleaned cleaning t,i
continue continues continued continued continuing t,i,x
cross crosses crossed crossed crossing t,i
dance dances danced danced dancing i
decide decides decided decided deciding i,x
earn earns earned earned earning t
enter enters entered entered entering t,i
escape escapes escaped escaped escaping i,t
expect expects expected expected expecting t,x,o,c
explain explains explained explained explaining t
feed feeds fed fed feeding t,d
fight fights fought fought fighting i,t
finish finishes finished finished finishing t,i
fix fixes fixed fixed fixing t
grab grabs grabbed grabbed grabbing t
happen happens happened happened happening i
hate hates hated hated hating t,x
hide hides hid hidden hiding i,t
hope hopes hoped hoped hoping i,x,c
hurry hurries hurried hurried hurrying i
join joins joined joined joining t,i
kill kills killed killed killing t
lend lends lent lent lending t,d
marry marries married married marrying t,i
mean means meant meant meaning t
miss misses missed missed missing t,i
move moves moved moved moving i,t
name names named named naming t
notice notices noticed noticed noticing t,i,c
owe owes owed owed owing t,d
own owns owned owned owning t
paint paints painted painted painting t,i
pass passes passed passed passing t,i
pick picks picked picked picking t
plan plans planned planned planning t,x
prefer prefers preferred preferred preferring t,x
promise promises promised promised promising t,x
refuse refuses refused refused refusing t,i,x
regret regrets regretted regretted regretting t
repair repairs repaired repaired repairing t
rise rises rose risen rising i
save saves saved saved saving t
scare scares scared scared scaring t
seem seems seemed seemed seeming p,x
smell smells smelled smelled smelling t,i,p
smile smiles smiled smiled smiling i
smoke smokes smoked smoked smoking i,t
spend spends spent spent spending t
stay stays stayed stayed staying i,p
steal steals stole stolen stealing t,i
study studies studied studied studying t,i
succeed succeeds succeeded succeeded succeeding i
support supports supported supported supporting t
surprise surprises surprised surprised surprising t
thank thanks thanked thanked thanking t
translate translates translated translated translating t
trust trusts trusted trusted trusting t
turn turns turned turned turning i,t,p
wake wakes woke woken waking i,t
wash washes washed washed washing t,i
wear wears wore worn wearing t
wish wishes wished wished wishing t,x,c
attend attends attended attended attending t,i
confirm confirms confirmed confirmed confirming t
design designs designed designed designing t
faint faints fainted fainted fainting i
hang hangs hung hung hanging i,t
hold holds held held holding t
hurt hurts hurt hurt hurting t,i
organize organizes organized organized organizing t
respond responds responded responded responding i
shine shines shone shone shining i
spray sprays sprayed sprayed spraying t,i
suppose supposes supposed supposed supposing t,c
sweep sweeps swept swept sweeping t,i
twist twists twisted twisted twisting t
"""

ADJECTIVES = """
bad beautiful big black blue busy clean cold dark dirty early easy empty fast
free full good great green happy hard heavy high hot important kind large
late little long new nice old poor real red rich right sad short simple slow
small strong sweet tall true useful weak white wrong young
afraid allergic angry bored boring confident dusty English expensive fat
French glad honest lonely loud possible safe sick sincere smart Spanish
strange sure thin tired warm weird yellow daily
able absent alive careful deaf evil fluent injured ordinary patient wealthy
whole other
"""

# Comparative and superlative forms, "form:lemma". A comparative may take
# the compared noun phrase after "than" as its object: "older than your
# brother" (frame OBJ); without it the frame is empty: "get better".
COMPARATIVES = """
better:good worse:bad older:old younger:young bigger:big smaller:small
taller:tall longer:long faster:fast cheaper:cheap easier:easy happier:happy
richer:rich stronger:strong
"""
SUPERLATIVES = """
best:good worst:bad kindest:kind oldest:old youngest:young biggest:big
tallest:tall
"""

# Particles of phrasal verbs, adverbs that may stand between the verb and
# its object: "turn off the light", "turned down my offer" (PARTICLE +).
PARTICLES = """
away back down off out up
"""

# Degree adverbs before adjectives and adverbs: "more loudly".
DEGREE_ADVERBS = """
more less
"""

ADVERBS = """
again almost already also always early especially ever fast here
however just late later never now often only quickly quite really slowly
soon sometimes still then today together tomorrow too usually very well
yesterday
abroad absolutely actually ago ahead anymore carefully comfortably daily
easily exactly loudly outdoors probably so wisely yet
readily straight unfortunately
"""

NAMES = """
Ahmed Ali Amina Asia England Europe Hassan India Islamabad John Karachi Lahore
London Mary Pakistan Sara
Africa Cuba France Japan Paris Tom
"""

# Frame codes: the frame and the equations that go with it. The subject of
# an infinitive (XCOMP) is controlled by the verb's subject ("I want to go")
# or object ("I told him to go"); the grammar rule that builds the XCOMP
# says which.
FRAMES = {
    'i': ('SUBJ', ''),
    't': ('SUBJ,OBJ', ''),
    'd': ('SUBJ,OBJ,OBJ2', ''),
    'p': ('SUBJ,PREDLINK', ''),
    'x': ('SUBJ,XCOMP', ''),
    'o': ('SUBJ,OBJ,XCOMP', ''),
    'c': ('SUBJ,COMP', ''),
}
PRESENT_NOT_3SG = '^VFORM=fin, ^TENSE=pres, [^SUBJ PERS=1 | [^SUBJ PERS=2 | ^SUBJ NUM=pl]]'
VERB_FORMS = [  # (index in the paradigm, Brill tags, features)
    (0, ('VB',), '^VFORM=base'),
    (0, ('VBP',), PRESENT_NOT_3SG),
    (1, ('VBZ',), '^VFORM=fin, ^TENSE=pres, ^SUBJ NUM=sg, ^SUBJ PERS=3'),
    (2, ('VBD',), '^VFORM=fin, ^TENSE=past'),
    (3, ('VBN',), '^VFORM=pastpart'),
    (4, ('VBG',), '^VFORM=prespart'),
]


class Lexicon:
    """Collects readings, checks them against Brill and writes the groups."""

    def __init__(self, brill):
        self.brill = brill
        self.groups = {}   # (word, pos) -> {'lemma', 'tags', 'entries'}
        self.order = []
        self.missing = []

    def tags(self, word):
        # Brill lists combined tags such as 'VBD|VBP'; each part counts.
        found = []
        for tag in self.brill.get(word) or []:
            for part in tag.split('|'):
                if part not in found:
                    found.append(part)
        return found

    def add(self, word, pos, lemma, text, wanted, what, checked=True):
        if checked and not any(tag in self.tags(word) for tag in wanted):
            report = '%s (%s, %s)' % (word, what, '/'.join(wanted))
            if report not in self.missing:
                self.missing.append(report)
            return
        key = (word, pos)
        if key not in self.groups:
            self.groups[key] = {'lemma': lemma, 'tags': set(), 'entries': []}
            self.order.append(key)
        group = self.groups[key]
        # The first entry's PRED names the whole reading.
        if group['lemma'] != lemma:
            raise SystemExit('%s (%s) is a form of both %s and %s' % (word, pos, group['lemma'], lemma))
        group['tags'].update(wanted)
        group['entries'].append('%s: %s, %s' % (word, pos, text))

    def lines_of(self, key):
        group = self.groups[key]
        tags = self.tags(key[0])
        usual = bool(tags) and tags[0] in group['tags']
        lines = [entry + '.' for entry in group['entries']]
        if not usual:
            lines[0] = lines[0][:-1] + ' ' + SECONDARY_WEIGHT + '.'
        return lines

    def section(self, title, pos):
        lines = ['', '/ ' + title, '/ ' + '-' * len(title), '']
        for key in self.order:
            if key[1] == pos:
                lines.extend(self.lines_of(key))
        return lines


def add_nouns(lexicon):
    for item in NOUNS.split():
        singular, _, plural = item.partition(':')
        plural = plural or plural_of(singular)
        time = ', ^NTYPE=time' if singular in TIME_NOUNS else ''
        lexicon.add(singular, 'n', singular, "^PRED='%s', ^NUM=sg, ^PERS=3%s" % (singular, time), ('NN',), 'noun')
        wanted = ('NNS',) if plural != singular else ('NN', 'NNS')
        lexicon.add(plural, 'n', singular, "^PRED='%s', ^NUM=pl, ^PERS=3%s" % (singular, time), wanted, 'plural noun')
    for noun in MASS_NOUNS.split():
        lexicon.add(noun, 'n', noun, "^PRED='%s', ^NUM=sg, ^PERS=3" % noun, ('NN',), 'mass noun')


def plural_of(noun):
    if noun.endswith(('s', 'sh', 'ch', 'x')):
        return noun + 'es'
    if noun.endswith('y') and noun[-2] not in 'aeiou':
        return noun[:-1] + 'ies'
    return noun + 's'


def add_verbs(lexicon):
    for line in VERBS.strip().splitlines():
        *forms, frames = line.split()
        for index, tags, features in VERB_FORMS:
            for frame in frames.split(','):
                names, control = FRAMES[frame]
                text = "^PRED='%s<%s>', %s%s" % (forms[0], names, features, control)
                lexicon.add(forms[index], 'v', forms[0], text, tags, 'verb')


def add_degrees(lexicon):
    for item in COMPARATIVES.split():
        form, lemma = item.split(':')
        for frame in ('', '<OBJ>'):
            lexicon.add(form, 'adj', lemma, "^PRED='%s%s', ^DEGREE=comp" % (lemma, frame), ('JJR',), 'comparative')
    for item in SUPERLATIVES.split():
        form, lemma = item.split(':')
        lexicon.add(form, 'adj', lemma, "^PRED='%s', ^DEGREE=superl" % lemma, ('JJS',), 'superlative')


def add_particles(lexicon):
    for word in PARTICLES.split():
        lexicon.add(word, 'adv', word, "^PRED='%s', ^PARTICLE=+" % word, ('RB', 'RP'), 'particle')


def add_simple(lexicon, words, pos, tags, what):
    for word in words.split():
        lexicon.add(word, pos, word, "^PRED='%s'" % word, tags, what)


HEADER = """/ English lexicon of the CFG parser
/ ==================================
/
/ Written by tools/build_english_lexicon.py: edit the script, not this file.
/ One entry a line, closed by a full stop:
/   word: part of speech, ^PRED='lemma<FRAME>', features.
/ The frame list must equal a line of SubCats.txt; entries of one word and
/ part of speech stand together and make one reading with alternatives.
/ A weight @w@ (log scale, 0 when left out) ranks a word's readings for the
/ tagger: readings that are not the word's usual tag carry @-1@.
/
/ Verb forms: base (after will, do, modals), present, past, past participle
/ (after have), present participle (after be). Tensed forms set VFORM = fin
/ and TENSE; the others their VFORM, which the auxiliary before them sets too.
"""


def conjunction_tags():
    """The tags of POSs.txt for coordinating and subordinating conjunctions."""
    names = open(POS_LIST, encoding='latin-1').read().split()
    coord = 'coord_conj' if 'coord_conj' in names else 'conj'
    sub = 'sub_conj' if 'sub_conj' in names else 'conj'
    return coord, sub


def build(brill):
    coord, sub = conjunction_tags()
    closed = CLOSED.replace('COORD_CONJ', coord).replace('SUB_CONJ', sub)
    lexicon = Lexicon(brill)
    add_nouns(lexicon)
    add_verbs(lexicon)
    add_simple(lexicon, ADJECTIVES, 'adj', ('JJ',), 'adjective')
    add_degrees(lexicon)
    add_simple(lexicon, ADVERBS, 'adv', ('RB',), 'adverb')
    add_particles(lexicon)
    add_simple(lexicon, DEGREE_ADVERBS, 'adv', ('RB', 'RBR'), 'degree adverb')
    for name in NAMES.split():
        # Names are ours to choose; Brill's lexicon lacks many of them.
        lexicon.add(name, 'pn', name, "^PRED='%s', ^NUM=sg, ^PERS=3" % name, ('NNP',), 'name', checked=False)
    lines = HEADER.splitlines() + [''] + closed.strip('\n').splitlines()
    lines += lexicon.section('Names', 'pn')
    lines += lexicon.section('Nouns', 'n')
    lines += lexicon.section('Verbs', 'v')
    lines += lexicon.section('Adjectives', 'adj')
    lines += lexicon.section('Adverbs', 'adv')
    return '\n'.join(lines) + '\n', lexicon.missing


def main(argv):
    text, missing = build(brill_lexicon())
    for item in missing:
        print('not in Brill\'s lexicon, left out:', item, file=sys.stderr)
    if len(argv) == 2 and argv[1] == '--check':
        current = open(TARGET, encoding='utf-8').read() if os.path.exists(TARGET) else None
        if current != text:
            print('ELexicon.txt is out of date; run tools/build_english_lexicon.py')
            return 1
        return 0
    with open(TARGET, 'w', encoding='utf-8', newline='\n') as f:
        f.write(text)
    print('wrote', os.path.relpath(TARGET, ROOT))
    return 0


if __name__ == '__main__':
    sys.exit(main(sys.argv))
