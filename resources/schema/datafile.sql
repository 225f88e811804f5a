-- The data file the counter writes and the reports read. Column types are chosen by what
-- comes back: INTEGER columns return whole numbers (also when given as decimal text), TEXT
-- columns return exactly the text written (names like "007"). The Yes/No column CountUp holds
-- 1 for yes and 0 for no however a statement gives it: a bound boolean, the words True and
-- False, the text "True"/"False" (in any case) or any other number, which its triggers turn
-- into 1 and 0.

-- One row per counted trigger.
CREATE TABLE Triggers (
    TriggerDate INTEGER,  -- days since 1 January 2000
    TriggerTime INTEGER,  -- minute of the day, 0 to 1439
    SensorID INTEGER,     -- 1 to 3 for the first port, 4 to 6 for the second
    SiteID INTEGER,
    CountUp INTEGER,      -- Yes/No: 1 for a count up, 0 for a count down
    Archived INTEGER      -- marks the full format; never written
);
-- A Yes/No value given as a word, or as a number other than 0 and 1 (the platform writes True
-- as -1), is stored as 1 or 0, so that "CountUp = 1" and "CASE WHEN CountUp" read it alike.
CREATE TRIGGER TriggersCountUpAdded AFTER INSERT ON Triggers
WHEN (typeof(NEW.CountUp) = 'text' AND lower(trim(NEW.CountUp)) IN ('true', 'false'))
  OR (typeof(NEW.CountUp) IN ('integer', 'real') AND NEW.CountUp NOT IN (0, 1))
BEGIN
    UPDATE Triggers SET CountUp = CASE typeof(NEW.CountUp)
        WHEN 'text' THEN lower(trim(NEW.CountUp)) = 'true' ELSE NEW.CountUp <> 0 END
    WHERE rowid = NEW.rowid;
END;
CREATE TRIGGER TriggersCountUpChanged AFTER UPDATE OF CountUp ON Triggers
WHEN (typeof(NEW.CountUp) = 'text' AND lower(trim(NEW.CountUp)) IN ('true', 'false'))
  OR (typeof(NEW.CountUp) IN ('integer', 'real') AND NEW.CountUp NOT IN (0, 1))
BEGIN
    UPDATE Triggers SET CountUp = CASE typeof(NEW.CountUp)
        WHEN 'text' THEN lower(trim(NEW.CountUp)) = 'true' ELSE NEW.CountUp <> 0 END
    WHERE rowid = NEW.rowid;
END;
-- Every report counts by day range and minute range: this index answers them alone.
CREATE INDEX TriggersByDateTime ON Triggers (TriggerDate, TriggerTime);

-- One row per period during which a counter ran.
CREATE TABLE AppActivity (
    ActiveDate INTEGER,
    ActiveFrom INTEGER,
    ActiveTo INTEGER,
    Machine TEXT,
    Interface TEXT,
    InterfaceOffset INTEGER,
    SiteID INTEGER
);
-- The counter's latest-period look-up each minute and the reports' date ranges.
CREATE INDEX AppActivityByDate ON AppActivity (ActiveDate, ActiveTo);

-- One row per named site. Not unique: two counters started together may both add their
-- site before either sees the other's row, and that must not fail.
CREATE TABLE Sites (
    SiteID INTEGER,
    SiteName TEXT,
    MachineName TEXT,
    Interface TEXT
);
CREATE INDEX SitesBySiteID ON Sites (SiteID);

-- The password record: a random salt and SHA-256(salt + password), filled in by the build.
CREATE TABLE BrantockFile (
    Salt BLOB NOT NULL,
    PasswordHash BLOB NOT NULL
);
