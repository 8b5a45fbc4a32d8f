-- A score database as the server left it before its schema had a version: pg_dump --inserts,
-- trimmed to the tables, rows and indexes.
CREATE TABLE public.scores (
    id bigint NOT NULL,
    name text NOT NULL,
    score integer NOT NULL,
    country text NOT NULL,
    created bigint NOT NULL,
    address text NOT NULL
);
CREATE SEQUENCE public.scores_id_seq
    START WITH 1
    INCREMENT BY 1
    NO MINVALUE
    NO MAXVALUE
    CACHE 1;
ALTER SEQUENCE public.scores_id_seq OWNED BY public.scores.id;
CREATE TABLE public.tokens (
    token text NOT NULL,
    address text NOT NULL,
    expires bigint NOT NULL
);
ALTER TABLE ONLY public.scores ALTER COLUMN id SET DEFAULT nextval('public.scores_id_seq'::regclass);
INSERT INTO public.scores VALUES (1, 'ACE', 900, 'LATVIA', 1797005448, '127.0.0.1');
INSERT INTO public.scores VALUES (2, 'ИВАН', 1200, 'РОССИЯ', 1797005448, '127.0.0.1');
INSERT INTO public.scores VALUES (3, 'BOB', 900, '', 1797005448, '127.0.0.1');
INSERT INTO public.scores VALUES (4, 'ZED', 50, 'LATVIA', 1797005448, '127.0.0.1');
INSERT INTO public.scores VALUES (5, 'MAX', 3000, 'ESTONIA', 1797005448, '127.0.0.1');
INSERT INTO public.tokens VALUES ('8615ea1acd71b4fb16d94fec4c11a0ad', '127.0.0.1', 1797006048);
INSERT INTO public.tokens VALUES ('43a31eccb2fffff040e7a4c44ef24ffa', '127.0.0.1', 1797006048);
SELECT pg_catalog.setval('public.scores_id_seq', 5, true);
ALTER TABLE ONLY public.scores
    ADD CONSTRAINT scores_pkey PRIMARY KEY (id);
ALTER TABLE ONLY public.tokens
    ADD CONSTRAINT tokens_pkey PRIMARY KEY (token);
CREATE INDEX scores_rank ON public.scores USING btree (score DESC, id);
CREATE INDEX tokens_address ON public.tokens USING btree (address, expires);
CREATE INDEX tokens_expires ON public.tokens USING btree (expires);
