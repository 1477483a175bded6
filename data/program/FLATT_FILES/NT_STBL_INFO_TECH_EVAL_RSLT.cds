<?xml version="1.0" encoding="UTF-8" standalone="yes"?>
<DATAPACKET Version="2.0">
<METADATA><FIELDS>
<FIELD attrname="CD" fieldtype="string" WIDTH="1"/>
<FIELD attrname="TECH_EVAL_RSLT" fieldtype="string" WIDTH="255"/>
</FIELDS><PARAMS/></METADATA>
<ROWDATA>
<ROW CD="0" TECH_EVAL_RSLT="評価なし"/>
<ROW CD="1" TECH_EVAL_RSLT="事前審査済み"/>
<ROW CD="2" TECH_EVAL_RSLT="事後評価済み（試行実証評価）"/>
<ROW CD="3" TECH_EVAL_RSLT="事後評価済み（活用効果評価）"/>
</ROWDATA>
</DATAPACKET>
